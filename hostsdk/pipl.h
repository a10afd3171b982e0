#pragma once

// The property list that the host reads from an effect module before loading it:
// a resource of type "PIPL", id 16000, language 1033.
//
// Layout (chosen here; the host's documented numbers are the property values):
//   i32 version (1), i32 property count, then each property:
//   char vendor[4], char key[4], i32 id (0), i32 length, data of `length` bytes.
// `length` is always a multiple of 4. Numbers are little-endian i32; texts are
// zero-terminated and padded with zeros to the length; codes are four characters in
// reading order; versions are i32 with the major number in the high 16 bits and the
// minor number in the low 16 bits.

#include <cstdint>

constexpr int PiPL_RESOURCE_ID = 16000;
constexpr std::uint16_t PiPL_LANGUAGE = 1033;
constexpr std::int32_t PiPL_LIST_VERSION = 1;
constexpr char PiPL_RESOURCE_TYPE[] = "PIPL";
constexpr char PiPL_VENDOR[] = "HOST"; // chosen

// Property keys.
constexpr char PiPL_KEY_KIND[] = "kind";              // chosen
constexpr char PiPL_KEY_NAME[] = "name";              // chosen
constexpr char PiPL_KEY_CATEGORY[] = "catg";          // chosen
constexpr char PiPL_KEY_CODE_WIN64[] = "8664";        // chosen
constexpr char PiPL_KEY_EFFECT_VERSION[] = "eVER";
constexpr char PiPL_KEY_PIPL_VERSION[] = "ePVR";
constexpr char PiPL_KEY_SPEC_VERSION[] = "eSVR";
constexpr char PiPL_KEY_INFO_FLAGS[] = "eINF";
constexpr char PiPL_KEY_OUT_FLAGS[] = "eGLO";
constexpr char PiPL_KEY_OUT_FLAGS2[] = "eGL2";
constexpr char PiPL_KEY_MATCH_NAME[] = "eMNA";
constexpr char PiPL_KEY_RESERVED_INFO[] = "aeFL";

// Value of the kind property for an effect.
constexpr char PiPL_KIND_EFFECT[] = "eFKT";

constexpr std::int32_t PiPL_VERSION_WORD(int major, int minor)
{
    return major << 16 | minor;
}

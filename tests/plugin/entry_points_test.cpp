// The module as the host first meets it: its exports and its property list.

#include "hostsdk/pipl.h"
#include "tests/plugin/effect_host_fixture.h"
#include "tools/qvhost/pipl_reader.h"

#include <windows.h>

namespace {

TEST(EntryPoints, ExportsExactlyTwoFunctionsByNameAndOrdinal)
{
    qvhost::effect_module module(QV_EFFECT_MODULE);
    EXPECT_NE(module.version_by_name(), nullptr);
    EXPECT_EQ(module.version_by_name(), module.version_by_ordinal());
    EXPECT_NE(module.main_by_name(), nullptr);
    EXPECT_EQ(module.main_by_name(), module.main_by_ordinal());
    EXPECT_EQ(GetProcAddress(module.handle(), MAKEINTRESOURCEA(3)), nullptr);

    auto* base = reinterpret_cast<const unsigned char*>(module.handle());
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    EXPECT_EQ(exports->NumberOfFunctions, 2u);
    EXPECT_EQ(exports->NumberOfNames, 2u);
    EXPECT_EQ(exports->Base, 1u);
    EXPECT_STREQ(reinterpret_cast<const char*>(base + exports->Name), "QVVesk.aex");
}

TEST(EntryPoints, GetPluginVersionWritesFourNumbers)
{
    qvhost::effect_module module(QV_EFFECT_MODULE);
    A_long numbers[5] = {-1, -1, -1, -1, -1};
    EXPECT_EQ(module.version_by_ordinal()(numbers), numbers);
    EXPECT_EQ(numbers[0], 1);
    EXPECT_EQ(numbers[1], 0);
    EXPECT_EQ(numbers[2], 3);
    EXPECT_EQ(numbers[3], 74);
    EXPECT_EQ(numbers[4], -1);
}

TEST(EntryPoints, PropertyListDescribesTheEffectInOrder)
{
    qvhost::effect_module module(QV_EFFECT_MODULE);
    auto list = qvhost::read_pipl(module.handle());
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->version, PiPL_LIST_VERSION);
    const char* keys[] = {"kind", "name", "catg", "8664", "eVER", "ePVR",
                          "eSVR", "eINF", "eGLO", "eGL2", "eMNA", "aeFL"};
    ASSERT_EQ(list->properties.size(), std::size(keys));
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        EXPECT_EQ(list->properties[i].key, keys[i]);
        EXPECT_EQ(list->properties[i].vendor, PiPL_VENDOR);
    }
    EXPECT_EQ(list->find("kind")->text(), "eFKT");
    EXPECT_EQ(list->find("name")->text(), "QV Vesk");
    EXPECT_EQ(list->find("catg")->text(), "Quorvane");
    EXPECT_EQ(list->find("8664")->text(), "PluginMain");
    EXPECT_EQ(list->find("eVER")->number(), 0x0008004A);
    EXPECT_EQ(list->find("ePVR")->number(), PiPL_VERSION_WORD(2, 0));
    EXPECT_EQ(list->find("eSVR")->number(), PiPL_VERSION_WORD(13, 25));
    EXPECT_EQ(list->find("eINF")->number(), 0);
    EXPECT_EQ(list->find("eGLO")->number(), 0x06008000);
    EXPECT_EQ(list->find("eGL2")->number(), 0x1800140E);
    EXPECT_EQ(list->find("eMNA")->text(), "QUORVANE Vesk");
    EXPECT_EQ(list->find("aeFL")->number(), 0);
}

TEST(EntryPoints, PropertyListReaderRejectsCutBlocks)
{
    const std::uint8_t header_only[] = {1, 0, 0, 0, 1, 0, 0, 0};
    EXPECT_FALSE(qvhost::parse_pipl(header_only, sizeof header_only).has_value());
    const std::uint8_t odd_length[] = {1, 0, 0, 0, 1, 0, 0, 0, 'H', 'O', 'S', 'T', 'k', 'i',
                                       'n', 'd', 0, 0, 0, 0, 3, 0, 0, 0, 'a', 'b', 'c', 0};
    EXPECT_FALSE(qvhost::parse_pipl(odd_length, sizeof odd_length).has_value());
}

using Dispatch = EffectHost;

TEST_F(Dispatch, CommandsAboveTheHostsRangeTouchNothing)
{
    // No global set-up: a command the dispatcher would handle would fail here.
    EXPECT_EQ(host->send(static_cast<PF_Cmd>(10001)), PF_Err_NONE);
    EXPECT_EQ(host->send(static_cast<PF_Cmd>(0x7fffffff)), PF_Err_NONE);
    EXPECT_EQ(host->live_handles(), 0u);
    EXPECT_EQ(host->total_acquisitions(), 0);
}

TEST_F(Dispatch, CommandsWithoutHandlerReturnNoError)
{
    set_up_effect();
    for (A_long command : {2, 10, 11, 12, 16, 18, 19, 20, 21, 25, 10000, -1, -500})
        EXPECT_EQ(host->send(static_cast<PF_Cmd>(command)), PF_Err_NONE) << command;
    // Handled commands whose operations do nothing in this effect.
    for (PF_Cmd command : {PF_Cmd_DO_DIALOG, PF_Cmd_ARBITRARY_CALLBACK,
                           PF_Cmd_COMPLETELY_GENERAL, PF_Cmd_USER_CHANGED_PARAM})
        EXPECT_EQ(host->send(command), PF_Err_NONE) << command;
    EXPECT_EQ(host->outstanding_suites(), 0);
}

TEST_F(Dispatch, HandledCommandBeforeGlobalSetUpFailsInsteadOfCrashing)
{
    EXPECT_EQ(host->params_setup(), PF_Err_INTERNAL_STRUCT_DAMAGED);
    qvhost::test_host::instance instance;
    EXPECT_EQ(host->sequence_setup(instance), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(host->live_handles(), 0u);
}

} // namespace

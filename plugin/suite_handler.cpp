#include "plugin/suite_handler.h"

#include "toolkit/qv_exception.h"

#include <string>

namespace {

const host_suite_name known_suites[] = {
    {kAEGPUtilitySuite, kAEGPUtilitySuiteVersion10},
    {kPFAppSuite, kPFAppSuiteVersion6},
    {kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1},
    {kAEGPStreamSuite, kAEGPStreamSuiteVersion7},
    {kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2},
    {kAEGPEffectSuite, kAEGPEffectSuiteVersion2},
    {kAEGPLayerSuite, kAEGPLayerSuiteVersion11},
    {kAEGPCompSuite, kAEGPCompSuiteVersion11},
    {kAEGPItemSuite, kAEGPItemSuiteVersion10},
    {kAEGPCameraSuite, kAEGPCameraSuiteVersion2},
    {kAEGPLightSuite, kAEGPLightSuiteVersion2},
    {kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3},
    {kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1},
    {kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1},
    {kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1},
    {kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version2},
};
static_assert(sizeof(known_suites) / sizeof(known_suites[0]) ==
              static_cast<std::size_t>(host_suite::count));

} // namespace

const host_suite_name& suite_name(host_suite suite)
{
    return known_suites[static_cast<std::size_t>(suite)];
}

suite_handler::suite_handler(SPBasicSuite* basic) : basic(basic)
{
}

suite_handler::~suite_handler()
{
    for (std::size_t i = 0; i < suites.size(); ++i) {
        if (suites[i]) {
            basic->ReleaseSuite(known_suites[i].name, known_suites[i].version);
            suites[i] = nullptr;
        }
    }
}

const void* suite_handler::acquire(host_suite suite)
{
    const void*& cached = suites[static_cast<std::size_t>(suite)];
    if (cached)
        return cached;
    const host_suite_name& wanted = suite_name(suite);
    const void* pointer = nullptr;
    SPErr error = basic ? basic->AcquireSuite(wanted.name, wanted.version, &pointer)
                        : kSPSuiteNotFoundError;
    if (error != kSPNoError || !pointer) {
        // Only a suite the host reported as acquired is given back.
        if (error == kSPNoError)
            basic->ReleaseSuite(wanted.name, wanted.version);
        std::string message = "the host did not supply the suite \"" +
                              std::string(wanted.name) + "\" version " +
                              std::to_string(wanted.version);
        throw qv_exception(message.c_str(), message.size());
    }
    cached = pointer;
    return cached;
}

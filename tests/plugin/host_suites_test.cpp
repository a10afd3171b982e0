// Host suites: borrowed once per operation, all given back, also when it fails.

#include "tests/plugin/effect_host_fixture.h"
#include "tools/qvhost/debug_output.h"

#include <stdexcept>

namespace {

using HostSuites = EffectHost;
using SetUpHostSuites = SetUpEffect;

TEST_F(HostSuites, GlobalSetUpTakesEachSuiteOnceAndGivesItBack)
{
    ASSERT_EQ(host->global_setup(), PF_Err_NONE);
    EXPECT_EQ(host->suite(kAEGPUtilitySuite, 10).acquired, 1);
    EXPECT_EQ(host->suite(kAEGPUtilitySuite, 10).released, 1);
    EXPECT_EQ(host->suite(kPFAppSuite, 6).acquired, 1);
    EXPECT_EQ(host->suite(kPFAppSuite, 6).released, 1);
    EXPECT_EQ(host->total_acquisitions(), 2);
    EXPECT_EQ(host->bad_suite_releases(), 0);
}

TEST_F(SetUpHostSuites, OperationWithoutSuitesBorrowsNothing)
{
    int before = host->total_acquisitions();
    qvhost::test_host::instance instance;
    ASSERT_EQ(host->sequence_setup(instance), PF_Err_NONE);
    ASSERT_EQ(host->sequence_setdown(instance), PF_Err_NONE);
    EXPECT_EQ(host->total_acquisitions(), before);
}

TEST_F(SetUpHostSuites, SuiteUsedManyTimesInOneOperationIsAcquiredOnce)
{
    ASSERT_EQ(host->update_params_ui(), PF_Err_NONE);
    // The stream suite serves sixteen parameter streams in one update.
    EXPECT_EQ(host->suite(kAEGPStreamSuite, 7).acquired, 1);
    EXPECT_EQ(host->suite(kAEGPStreamSuite, 7).released, 1);
    EXPECT_EQ(host->suite(kAEGPDynamicStreamSuite, 2).acquired, 1);
    EXPECT_EQ(host->suite(kAEGPPFInterfaceSuite, 1).acquired, 1);
    EXPECT_EQ(host->suite(kAEGPEffectSuite, 2).acquired, 1);
    EXPECT_EQ(host->outstanding_suites(), 0);
    EXPECT_EQ(host->live_effect_refs(), 0);
    EXPECT_EQ(host->live_streams(), 0);
    EXPECT_EQ(host->live_stream_values(), 0);
    EXPECT_EQ(host->outstanding_checkouts(), 0);
}

TEST_F(HostSuites, RefusedSuiteFailsTheCommandInsteadOfCrashing)
{
    host->refuse_suite(kAEGPUtilitySuite, 10);
    {
        qvhost::debug_output output;
        EXPECT_EQ(host->global_setup(), PF_Err_INTERNAL_STRUCT_DAMAGED);
        std::vector<std::string> lines = output.lines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], "QV Vesk Exception: the host did not supply the suite "
                            "\"AEGP Utility Suite\" version 10\n");
    }
    EXPECT_EQ(host->outstanding_suites(), 0);
    EXPECT_EQ(host->bad_suite_releases(), 0);
    host->refuse_suite(kAEGPUtilitySuite, 10, false);

    // The object stays in the global data; the next set-up after set-down works.
    ASSERT_EQ(host->global_setdown(), PF_Err_NONE);
    EXPECT_EQ(host->live_handles(), 0u);
    EXPECT_EQ(host->global_setup(), PF_Err_NONE);
}

TEST_F(SetUpHostSuites, RefusedSuiteLateInAnOperationReleasesTheEarlierOnes)
{
    host->refuse_suite(kAEGPDynamicStreamSuite, 2);
    EXPECT_EQ(host->update_params_ui(), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(host->suite(kAEGPPFInterfaceSuite, 1).acquired, 1);
    EXPECT_EQ(host->outstanding_suites(), 0);
    EXPECT_EQ(host->live_effect_refs(), 0);
    EXPECT_EQ(host->outstanding_checkouts(), 0);
    // The stream taken before the refusal goes back too.
    EXPECT_EQ(host->live_streams(), 0);
    EXPECT_EQ(host->live_stream_values(), 0);
    EXPECT_EQ(host->bad_stream_calls(), 0);
}

TEST_F(SetUpHostSuites, FailedHostCallsInTheVisibilityUpdateLeaveNoStreamOrValueBehind)
{
    // A layer is chosen so the update reads a stream value before it fails.
    host->choose_layer(502, 3);
    for (const char* failing : {"AEGP_GetNewEffectStreamByIndex", "AEGP_GetNewStreamValue",
                                "AEGP_SetDynamicStreamFlag"}) {
        SCOPED_TRACE(failing);
        int calls = 0;
        host->fault = [failing, &calls](const std::string& call) {
            // Fails the call the second time it comes, after one has succeeded.
            if (call == failing && ++calls == 2)
                throw std::runtime_error("host failure");
        };
        {
            qvhost::debug_output output;
            EXPECT_EQ(host->update_params_ui(), PF_Err_INTERNAL_STRUCT_DAMAGED);
        }
        host->fault = nullptr;
        EXPECT_EQ(host->live_streams(), 0);
        EXPECT_EQ(host->live_stream_values(), 0);
        EXPECT_EQ(host->live_effect_refs(), 0);
        EXPECT_EQ(host->outstanding_suites(), 0);
    }
    EXPECT_EQ(host->bad_stream_calls(), 0);
    EXPECT_EQ(host->update_params_ui(), PF_Err_NONE);
    EXPECT_EQ(host->live_streams(), 0);
    EXPECT_EQ(host->live_stream_values(), 0);
}

TEST_F(SetUpHostSuites, AnyExceptionFromTheHostBecomesError512)
{
    const struct {
        const char* call;
        void (*thrower)();
        const char* line;
    } cases[] = {
        {"AEGP_SetDynamicStreamFlag", [] { throw std::runtime_error("host failure"); },
         "QV Vesk Exception: host failure\n"},
        {"AEGP_GetNewStreamValue", [] { throw 42; },
         "QV Vesk Exception: QV Vesk has encountered an unrecoverable error.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        host->fault = [&c](const std::string& call) {
            if (call == c.call)
                c.thrower();
        };
        {
            qvhost::debug_output output;
            EXPECT_EQ(host->update_params_ui(), PF_Err_INTERNAL_STRUCT_DAMAGED);
            const std::vector<std::string> lines = output.lines();
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_EQ(lines[0], c.line);
        }
        host->fault = nullptr;
        EXPECT_EQ(host->outstanding_suites(), 0);
        EXPECT_EQ(host->live_effect_refs(), 0);
        // The effect goes on working after the failure.
        EXPECT_EQ(host->update_params_ui(), PF_Err_NONE);
    }
}

TEST_F(HostSuites, FailureWhileRegisteringStillReleasesTheSuite)
{
    host->fault = [](const std::string& call) {
        if (call == "AEGP_RegisterWithAEGP")
            throw std::runtime_error("registration failed");
    };
    EXPECT_EQ(host->global_setup(), PF_Err_INTERNAL_STRUCT_DAMAGED);
    host->fault = nullptr;
    EXPECT_EQ(host->suite(kAEGPUtilitySuite, 10).acquired, 1);
    EXPECT_EQ(host->suite(kAEGPUtilitySuite, 10).released, 1);
}

} // namespace

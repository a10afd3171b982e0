// Hardware faults in a command, with the effect's code in the test process: a fault
// in toolkit code that a command reaches ends as the error message and 512.
#include "plugin/parameter_ids.h"
#include "tests/plugin/dump_files.h"
#include "toolkit/widget.h"
#include "tools/qvhost/debug_output.h"
#include "tools/qvhost/test_host.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

extern "C" PF_Err PluginMain(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, void*);

namespace {

TEST(CrashTranslation, FaultInToolkitCodeReachedFromACommandGivesTheDumpAnd512)
{
    qvhost::test_host host(PluginMain);
    ASSERT_EQ(host.global_setup(), PF_Err_NONE);
    ASSERT_EQ(host.params_setup(), PF_Err_NONE);
    // A toolkit widget that is not there: its first read of its own fields faults.
    host.fault = [](const std::string& call) {
        if (call != "AEGP_SetDynamicStreamFlag")
            return;
        volatile std::uintptr_t unmapped = 16;
        reinterpret_cast<qvsdk::ui::widget*>(unmapped)->set_rect({0, 0, 10, 10}, false);
    };
    std::vector<std::string> lines;
    {
        qvhost::debug_output output;
        EXPECT_EQ(host.update_params_ui(), PF_Err_INTERNAL_STRUCT_DAMAGED);
        lines = output.lines();
    }
    host.fault = nullptr;
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("QV Vesk Exception: Please compress this file", 0), 0u) << lines[0];
    expect_dump(named_dump(lines[0]));

    // The process goes on and so does the effect.
    EXPECT_EQ(host.update_params_ui(), PF_Err_NONE);
    EXPECT_EQ(host.live_streams(), 0);
    EXPECT_EQ(host.global_setdown(), PF_Err_NONE);
}

} // namespace

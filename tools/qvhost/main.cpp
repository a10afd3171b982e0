// qvhost MODULE: loads an effect module and drives it through the commands of an
// effect's life, printing what it saw. Exit code 0 when every check held.
// qvhost MODULE render [options]: renders frames of a test composition into PNGs.
// qvhost MODULE bench [frames]: times the full frame road.

#include "hostsdk/pipl.h"
#include "tools/qvhost/effect_module.h"
#include "tools/qvhost/pipl_reader.h"
#include "tools/qvhost/render_command.h"
#include "tools/qvhost/test_host.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

int failures = 0;

void check(bool held, const char* what)
{
    std::printf("%s %s\n", held ? "ok  " : "FAIL", what);
    if (!held)
        ++failures;
}

int run(const char* path)
{
    qvhost::effect_module module(path);
    check(module.main_by_name() && module.main_by_name() == module.main_by_ordinal(),
          "PluginMain exported by name and as ordinal 2");
    check(module.version_by_name() && module.version_by_name() == module.version_by_ordinal(),
          "GetPluginVersion exported by name and as ordinal 1");
    auto list = qvhost::read_pipl(module.handle());
    check(list && list->find(PiPL_KEY_KIND) && list->find(PiPL_KEY_KIND)->text() == "eFKT",
          "PiPL resource names an effect");
    if (!module.main_by_name())
        return 1;

    qvhost::test_host host(module.main_by_name());
    check(host.global_setup() == PF_Err_NONE, "global set-up");
    check(list && list->find(PiPL_KEY_EFFECT_VERSION) &&
              static_cast<A_u_long>(list->find(PiPL_KEY_EFFECT_VERSION)->number()) ==
                  host.last_out().my_version,
          "version matches the PiPL");
    check(host.params_setup() == PF_Err_NONE, "parameter set-up");
    std::printf("     %ld parameters\n", static_cast<long>(host.num_params()));
    qvhost::test_host::instance instance;
    check(host.sequence_setup(instance) == PF_Err_NONE && instance.sequence_data,
          "sequence set-up");
    check(host.update_params_ui() == PF_Err_NONE, "update parameters UI");
    check(host.user_changed_param() == PF_Err_NONE, "user changed a parameter");
    check(host.sequence_flatten(instance) == PF_Err_NONE, "flatten");
    check(host.sequence_resetup(instance) == PF_Err_NONE && instance.sequence_data,
          "re-set-up");
    check(host.sequence_setdown(instance) == PF_Err_NONE && !instance.sequence_data,
          "sequence set-down");
    check(host.global_setdown() == PF_Err_NONE && !host.global_data(), "global set-down");
    check(host.live_handles() == 0, "every handle given back");
    check(host.outstanding_suites() == 0, "every suite released");
    check(host.outstanding_checkouts() == 0, "every parameter checked in");
    return failures == 0 ? 0 : 1;
}

} // namespace

const char usage[] =
    "usage: qvhost MODULE\n"
    "       qvhost MODULE render [--out FILE.png] [--size WxH] [--frames A[-B]]\n"
    "              [--depth 8|16|32] [--downsample N|X,Y] [--diffuse checker|FILE]\n"
    "              [--glossiness SRC] [--illumination SRC] [--bump pattern|FILE]\n"
    "              [--environment gradient|FILE] [--motion-blur on|off|comp]\n"
    "              [--comp-motion-blur on|off] [--layer-motion-blur on|off]\n"
    "              [--move DX,DY,DZ] [--set ID=VALUE]... [--light TYPE:X,Y,Z]...\n"
    "              [--camera X,Y,Z]\n"
    "       qvhost MODULE bench [FRAMES [WxH]]\n";

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(usage, stderr);
        return 2;
    }
    try {
        if (argc == 2)
            return run(argv[1]);
        const std::string command = argv[2];
        if (command == "render") {
            qvhost::render_options options = qvhost::parse_render_options(
                std::vector<std::string>(argv + 3, argv + argc));
            options.module = argv[1];
            return qvhost::run_render(options);
        }
        if (command == "bench") {
            int width = 1920, height = 1080;
            if (argc > 4 && std::sscanf(argv[4], "%dx%d", &width, &height) != 2)
                throw std::invalid_argument("bad size");
            return qvhost::run_bench(argv[1], argc > 3 ? std::atoi(argv[3]) : 20, width, height);
        }
        std::fputs(usage, stderr);
        return 2;
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "qvhost: %s\n%s", error.what(), usage);
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qvhost: %s\n", error.what());
        return 1;
    }
}

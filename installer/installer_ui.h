#pragma once

#include "installer/break_line.h"
#include "installer/install_target.h"
#include "installer/installed_checkbox.h"
#include "installer/link_button.h"
#include "installer/plugin_installer.h"
#include "installer/progress_bar.h"
#include "installer/rounded_button.h"

#include "toolkit/check_box.h"
#include "toolkit/flow_panel.h"
#include "toolkit/generic_button.h"
#include "toolkit/generic_panel.h"
#include "toolkit/image_ptr.h"
#include "toolkit/scroll_bar.h"
#include "toolkit/text_label.h"
#include "toolkit/window.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// The installer's window: header, banner, footer buttons and the four wizard
// pages (0 welcome, 1 versions, 2 installing, 3 licence).
class InstallerUI : public qvsdk::ui::window {
public:
    using folder_chooser = std::function<std::wstring(qvsdk::ui::window*, std::string_view, const std::wstring&)>;

    // The model is set up before the window is built (its registry path,
    // resource module and data folder), so tests can point it elsewhere.
    explicit InstallerUI(const std::function<void(PluginInstaller&)>& configure = {});
    ~InstallerUI() override;

    // Replaces the shell's folder dialog (tests).
    void set_folder_chooser(folder_chooser chooser) { choose_folder = std::move(chooser); }
    // Runs each time the poll has copied the statuses, before it uses them
    // (tests stand in for the window thread being pre-empted there).
    void set_after_status_copy(std::function<void()> pause) { after_status_copy = std::move(pause); }

    std::int32_t page() const { return current_page; }
    const std::vector<InstallTarget>& install_targets() const { return targets; }
    bool is_finished() const { return finished; }
    const PluginInstaller& model() const { return installer; }
    const qvsdk::ui::generic_button& next() const { return next_button; }
    const qvsdk::ui::text_label& status_line() const { return status_label; }
    const qvsdk::ui::text_label& free_space_line() const { return free_space_label; }
    const qvsdk::ui::text_label& page_title(std::int32_t page_index) const { return titles[page_index]; }
    const std::vector<std::unique_ptr<qvsdk::ui::check_box>>& version_boxes() const { return boxes; }
    const std::vector<std::unique_ptr<InstalledCheckbox>>& result_rows() const { return rows; }
    const ProgressBar& progress() const { return progress_bar; }
    const qvsdk::ui::text_label& progress_text() const { return progress_label; }
    const qvsdk::ui::generic_button& plugin_path_button() const { return path_button; }
    const qvsdk::ui::text_label& custom_path_line() const { return custom_path_label; }
    const LinkButton& welcome_link_button() const { return welcome_link; }

private:
    void build_targets();
    void build_welcome_page();
    void build_versions_page();
    void build_license_page();
    void build_installing_page();
    void build_footer();
    void make_page(std::int32_t index);
    void make_title(std::int32_t index, const std::string& text);
    void centre_page(std::int32_t index, std::int32_t content_height);

    void on_paint();
    void show_page(std::int32_t page_index);
    void on_button_click(const qvsdk::ui::event_info& e);
    void on_license_menu(const qvsdk::ui::event_info& e);
    void on_versions_event(const qvsdk::ui::event_info& e);
    void confirm_cancel();

    void start_install();
    void on_install_timer(const qvsdk::ui::event_info& e);
    void update_progress();
    void end_run(const std::string& status_text);
    // Copies the worker's statuses into the targets; gives the index of the
    // last failing target, or -1.
    std::int32_t take_statuses();
    // INSTALL waits for a folder while Custom is chosen without one.
    void update_install_button();

    // Width of the page area right of the banner.
    std::int32_t content_width();

    PluginInstaller installer;
    std::thread worker;
    qvsdk::ui::image_ptr banner;
    qvsdk::ui::image_ptr background;
    qvsdk::ui::image_ptr logo;
    qvsdk::ui::size logo_size{0, 0};
    std::string license_text;
    std::string header_line;

    qvsdk::ui::generic_panel pages[4];
    qvsdk::ui::text_label titles[4];
    // Welcome page.
    qvsdk::ui::text_label intro_label;
    qvsdk::ui::text_label agreement_label;
    qvsdk::ui::text_label version_label;
    // Versions page.
    qvsdk::ui::text_label subtitle_label;
    qvsdk::ui::flow_panel version_flow;
    qvsdk::ui::text_label custom_path_label;
    qvsdk::ui::text_label free_space_label;
    // Installing page.
    qvsdk::ui::text_label status_label;
    BreakLine separator;
    ProgressBar progress_bar;
    qvsdk::ui::text_label installing_label;
    qvsdk::ui::text_label progress_label;
    qvsdk::ui::text_label finish_hint;
    // Licence page.
    qvsdk::ui::generic_panel license_view;
    qvsdk::ui::scroll_bar license_bar;
    qvsdk::ui::text_label license_label;

    RoundedButton back_button;
    RoundedButton next_button;
    RoundedButton cancel_button;
    std::vector<std::unique_ptr<qvsdk::ui::check_box>> boxes;
    qvsdk::ui::generic_button path_button;
    std::vector<std::unique_ptr<InstalledCheckbox>> rows;
    LinkButton footer_link;
    LinkButton welcome_link;

    std::vector<InstallTarget> targets;
    std::int32_t current_page = 0;
    std::int32_t previous_page = 0;
    bool installing_page_built = false;

    std::int32_t selected_count = 0;
    // Size of the module that each target receives.
    float module_mb = 0;
    float total_mb = 0;
    bool finished = false;
    std::uint32_t poll_handler = 0;
    bool polling = false;
    // The "Exit Installer" question is up.
    bool asking_to_exit = false;

    folder_chooser choose_folder;
    std::function<void()> after_status_copy;
};

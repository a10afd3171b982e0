#include "installer/installer_ui.h"

#include "installer/install_error_message.h"
#include "installer/install_progress.h"
#include "installer/install_status.h"
#include "installer/notification_popup.h"

#include "toolkit/event_ids.h"

using namespace qvsdk::ui;

namespace {

constexpr std::uint32_t poll_timer_id = 1;
const char* const product_for_host = "QV Vesk Plug-in for After Effects";

void relabel(generic_button& b, const char* text)
{
    b.set_text(text);
    b.auto_size();
    b.invalidate(false);
}

} // namespace

void InstallerUI::start_install()
{
    cancel_button.set_enabled(true);
    cancel_button.set_visible(true);
    back_button.set_enabled(false);
    back_button.set_visible(true);
    next_button.set_enabled(false);
    relabel(next_button, "INSTALLING...");

    selected_count = 0;
    total_mb = selected_megabytes(targets, module_mb);

    generic_panel* page = &pages[2];
    bool has_timer = false;
    for (const auto& entry : native_record().timers)
        if (entry.second.owner == page)
            has_timer = true;
    if (!has_timer)
        native_record().set_timer(page, poll_timer_id, 200, false);
    poll_handler = event_manager::instance().subscribe(page, this, timer_event,
                                                       [this](const event_info& e) { on_install_timer(e); });
    polling = true;

    std::vector<std::wstring> folders;
    for (const InstallTarget& t : targets) {
        folders.push_back(t.selected && t.status != status_installed ? t.plugin_folder : std::wstring());
        if (t.selected)
            ++selected_count;
    }
    installer.prepare_run(targets.size());
    worker = std::thread(&PluginInstaller::install, &installer, std::move(folders));
}

std::int32_t InstallerUI::take_statuses()
{
    const std::vector<std::int32_t> cells = installer.statuses();
    if (after_status_copy)
        after_status_copy();
    std::int32_t failed = -1;
    for (std::size_t i = 0; i < cells.size() && i < targets.size(); ++i) {
        if (cells[i] != 0)
            targets[i].status = cells[i];
        if (is_failure(cells[i]))
            failed = std::int32_t(i);
    }
    return failed;
}

void InstallerUI::on_install_timer(const event_info&)
{
    if (!polling)
        return;
    // Done is read before the statuses: a copy taken before the worker's last
    // stores must never decide the result.
    if (!installer.is_done()) {
        take_statuses();
        update_progress();
        return;
    }
    // The end of the run waits until the exit question is answered: a failure
    // popup nested under it would give the window its input back too early.
    if (asking_to_exit)
        return;
    event_manager::instance().remove_handler(poll_handler);
    polling = false;
    worker.join();
    const std::int32_t failed = take_statuses();

    if (failed < 0) {
        // Success only when every chosen target received the module.
        bool all_installed = selected_count > 0;
        for (const InstallTarget& t : targets)
            if (t.selected && t.status != status_installed)
                all_installed = false;
        if (all_installed)
            end_run("QV Vesk Plug-in successfully installed.");
        else
            end_run(std::string("Some components of ") + "QV Vesk Plug-in" + " not correctly installed.");
    } else {
        const InstallTarget& t = targets[std::size_t(failed)];
        const std::string message =
            install_failure_message(installer.version_names[std::size_t(t.version)], t.status);
        update_progress();
        NotificationPopup popup;
        theme_store& theme = popup.root().theme();
        theme.set_redirect("message_popup_window_margins", "notifications_error_window_margins");
        theme.set_redirect("message_popup_component_margins", "notifications_error_component_margins");
        popup.show(this, "Failed to install", message);
        if (popup.run_modal() == 1)
            start_install();
        else
            end_run(std::string("Some components of ") + "QV Vesk Plug-in" + " not correctly installed.");
    }
    update_progress();
}

void InstallerUI::end_run(const std::string& status_text)
{
    status_label.set_text(status_text, false, true);
    cancel_button.set_enabled(false);
    cancel_button.set_visible(true);
    back_button.set_enabled(false);
    back_button.set_visible(true);
    next_button.set_enabled(true);
    relabel(next_button, "FINISH");
    finished = true;
}

void InstallerUI::update_progress()
{
    const float fraction = progress_fraction(installed_count(targets), selected_count, finished);
    progress_bar.set_fraction(fraction);
    progress_bar.invalidate(true);

    const float done_mb = total_mb - pending_megabytes(targets, module_mb);
    progress_label.set_html(progress_html(fraction, done_mb, total_mb), false, false);

    std::size_t row = 0;
    bool all_installed = selected_count > 0;
    for (const InstallTarget& t : targets) {
        if (!t.selected)
            continue;
        if (t.status != status_installed)
            all_installed = false;
        if (row < rows.size() && t.status > status_in_progress) {
            InstalledCheckbox& r = *rows[row];
            const bool ok = t.status == status_installed;
            r.set_text(std::string(product_for_host) + " " + installer.version_names[std::size_t(t.version)] +
                       (ok ? " installed." : " not installed."));
            r.layout(0);
            r.set_checked(ok);
            r.invalidate(false);
            r.set_visible(true);
        }
        ++row;
    }

    if (finished) {
        installing_label.set_visible(false);
        finish_hint.set_visible(true);
        if (all_installed) {
            titles[2].set_text("Mission Success!", false, false);
            titles[2].invalidate(false);
        }
    }
}

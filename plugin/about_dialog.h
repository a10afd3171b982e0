#pragma once

#include "toolkit/generic_button.h"
#include "toolkit/generic_panel.h"
#include "toolkit/text_label.h"
#include "toolkit/window.h"

#include <string>

// The effect's About window: product and version, the maker's web address as
// a link to the product page, the rights notice and "OK".
class AboutDialog : public qvsdk::ui::window {
public:
    explicit AboutDialog(qvsdk::ui::window* owner_window);
    ~AboutDialog() override;

    void open_link();
    void set_link_hover(bool on);

    const std::string& page_address() const { return link; }
    qvsdk::ui::text_label& title() { return title_label; }
    qvsdk::ui::text_label& address() { return link_label; }
    qvsdk::ui::text_label& notice() { return notice_label; }
    qvsdk::ui::generic_button& ok() { return ok_button; }

private:
    qvsdk::ui::generic_panel content_panel;
    qvsdk::ui::text_label title_label;
    qvsdk::ui::text_label link_label;
    qvsdk::ui::text_label notice_label;
    qvsdk::ui::generic_button ok_button;
    std::string link;
};

// "QV Vesk v1.0.3 (74)"
std::string about_title_text();

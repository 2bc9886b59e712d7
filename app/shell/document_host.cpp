// The poster document's host: the main window's children show what changed.
#include "app/shell/document_host.h"

#include "app/poster_windows/size_panel.h"
#include "app/shell/app_state.h"
#include "resources/resource_ids.h"

std::optional<std::string> window_document_host::current_paper_name()
{
    std::string name;
    if (!app_->printer.devmode() || !lookup_paper_name(app_->printer.devnames(), app_->printer.devmode(), &name))
        return std::nullopt;
    return name;
}

void window_document_host::poster_size_changed(int mask)
{
    if (app_->main_window)
        show_poster_size(GetDlgItem(app_->main_window, ID_POSTER_SIZE), mask);
}

void window_document_host::layout_changed()
{
    HWND preview = app_->main_window ? GetDlgItem(app_->main_window, ID_PREVIEW) : nullptr;
    if (preview) {
        InvalidateRect(preview, nullptr, TRUE);
        UpdateWindow(preview);
    }
    if (app_->main_window)
        show_resolution(GetDlgItem(app_->main_window, ID_POSTER_SIZE));
}

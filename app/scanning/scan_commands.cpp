// The scanner object of the main window and the two scanning commands.
#include "app/scanning/scan_commands.h"

#include "app/base/app_caption.h"

namespace {

void no_scanner_message(HWND main_window)
{
    MessageBoxA(main_window, "No scanner found.", app_caption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void scanner_service::create(HWND main_window)
{
    poster_document* document = document_;
    auto created = std::make_unique<CMyTwain>([document](owned_image picture) {
        document->install_picture(std::move(picture));
    });
    if (created->OpenManager(main_window))
        twain_ = std::move(created);
}

// The scanner object, made now if there was none; none (after telling the
// user) when no source manager can be had.
CMyTwain* scanner_service::ready_scanner(HWND main_window)
{
    if (!twain_)
        create(main_window);
    if (!twain_ || !twain_->ManagerOpen()) {
        no_scanner_message(main_window);
        return nullptr;
    }
    return twain_.get();
}

void scanner_service::scan(HWND main_window)
{
    CMyTwain* twain = ready_scanner(main_window);
    if (!twain)
        return;
    twain->RequestAcquire();
    twain->Acquire(1);
    if (!twain->SourceOpen())
        no_scanner_message(main_window);
}

void scanner_service::select_source(HWND main_window)
{
    CMyTwain* twain = ready_scanner(main_window);
    if (!twain)
        return;
    // Choosing another source replaces the source identity; a source still
    // open under the old one could never be reached or closed again.
    twain->CloseSource();
    // Neither a default source nor one chosen: there is none to be had.
    if (!twain->SelectSource())
        no_scanner_message(main_window);
}

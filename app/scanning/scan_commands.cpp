// The scanner object of the main window and the two scanning commands.
#include "app/scanning/scan_commands.h"

#include <memory>

#include "app/shell.h"
#include "poster/model_win.h"
#include "scan/my_twain.h"

namespace {

// The program's one scanner object, created with the main window and
// destroyed with it. Only this file reaches it: the message loop, the
// commands and the main window go through the functions above.
std::unique_ptr<CMyTwain> scanner;

void no_scanner_message(HWND main_window)
{
    MessageBoxA(main_window, "No scanner found.", app_caption, MB_OK | MB_ICONINFORMATION);
}

// The scanner object, made now if there was none; none (after telling the
// user) when no source manager can be had.
CMyTwain* ready_scanner(HWND main_window)
{
    if (!scanner)
        scanner_create(main_window);
    if (!scanner || !scanner->ManagerOpen()) {
        no_scanner_message(main_window);
        return nullptr;
    }
    return scanner.get();
}

}  // namespace

void scanner_create(HWND main_window)
{
    auto created = std::make_unique<CMyTwain>(install_picture);
    if (created->OpenManager(main_window))
        scanner = std::move(created);
}

void scanner_destroy()
{
    scanner.reset();
}

bool scanner_filter_message(MSG& message)
{
    return scanner && scanner->ProcessMessage(message);
}

void scan_command(HWND main_window)
{
    CMyTwain* twain = ready_scanner(main_window);
    if (!twain)
        return;
    twain->RequestAcquire();
    twain->Acquire(1);
    if (!twain->SourceOpen())
        no_scanner_message(main_window);
}

void scan_select_command(HWND main_window)
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

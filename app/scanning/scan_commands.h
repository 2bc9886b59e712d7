// Scanning from the main window: the scanner object, its share of the
// message loop, and the Scan and Scan Select commands.
#pragma once
#include <windows.h>

#include <memory>

#include "poster/poster_document.h"
#include "scan/my_twain.h"

class scanner_service {
public:
    // Scanned pictures become document's working picture.
    explicit scanner_service(poster_document* document) : document_(document) {}

    // Creates the scanner object and opens the source manager with the main
    // window as parent; without a manager there is no scanner object.
    void create(HWND main_window);
    // Closes the source and the manager (at shut-down).
    void destroy() { twain_.reset(); }
    // True when the message was the scanner source's own event, which the
    // message loop must then neither translate nor dispatch.
    bool filter_message(MSG& message) { return twain_ && twain_->ProcessMessage(message); }

    // Scan: opens the chosen (or the default) source and shows its
    // interface; each picture it delivers becomes the working picture.
    void scan(HWND main_window);
    // Scan Select: the source manager's list of sources.
    void select_source(HWND main_window);

private:
    CMyTwain* ready_scanner(HWND main_window);

    poster_document* document_;
    std::unique_ptr<CMyTwain> twain_;
};

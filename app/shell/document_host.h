// How the poster document reaches the program's windows: the printer's paper
// name, the poster-size panel's entries and the preview's repaint.
#pragma once
#include "poster/poster_document.h"

struct tilora_app;

class window_document_host : public poster_document_host {
public:
    explicit window_document_host(tilora_app* app) : app_(app) {}
    std::optional<std::string> current_paper_name() override;
    void poster_size_changed(int mask) override;
    void layout_changed() override;

private:
    tilora_app* app_;
};

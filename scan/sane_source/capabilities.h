// The capabilities the source negotiates with an application: the number of
// images, the resolution, colour or grey, the transfer mechanism and the
// source's own interface and indicators.
#pragma once
#include "scan/sane_source/sane_scanner.h"
#include "scan/twain_protocol.h"

// What the application agreed with the source.
struct source_values {
    TW_INT16 transfer_count = -1;
    bool indicators = true;
    TW_UINT16 transfer_mechanism = TWSX_NATIVE;
    scan_settings scan;           // what the next scan uses
    scan_settings scan_defaults;  // the device's own when it was opened
};

struct capability_answer {
    TW_UINT16 result = TWRC_SUCCESS;
    TW_UINT16 condition = TWCC_SUCCESS;
};

// Answers one DAT_CAPABILITY request. Setting is allowed only while
// may_set (the source is open and not enabled).
capability_answer negotiate_capability(source_values& values, const scan_choices& choices, TW_UINT16 message,
                                       TW_CAPABILITY& capability, bool may_set);

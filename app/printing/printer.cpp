// Printer device contexts, the printable tile and the paper's name.
#include "app/printing/printer.h"

#include <commdlg.h>

#include <cstring>
#include <vector>

#include "poster/paper_name.h"

namespace {

// The driver, device and port names of a locked DEVNAMES block.
struct printer_names {
    const char* driver;
    const char* device;
    const char* port;
};

printer_names names_of(const DEVNAMES* block)
{
    const char* base = reinterpret_cast<const char*>(block);
    return {base + block->wDriverOffset, base + block->wDeviceOffset, base + block->wOutputOffset};
}

int horizontal_offset(HGLOBAL devnames, HGLOBAL devmode)
{
    const owned_dc dc = create_printer_dc(devnames, devmode);
    return dc ? GetDeviceCaps(dc.get(), PHYSICALOFFSETX) : -1;
}

}  // namespace

void printer_handles::reset(HGLOBAL devmode, HGLOBAL devnames)
{
    if (devmode_ && devmode_ != devmode)
        GlobalFree(devmode_);
    if (devnames_ && devnames_ != devnames)
        GlobalFree(devnames_);
    devmode_ = devmode;
    devnames_ = devnames;
}

std::pair<HGLOBAL, HGLOBAL> printer_handles::release()
{
    return {std::exchange(devmode_, nullptr), std::exchange(devnames_, nullptr)};
}

HGLOBAL duplicate_global(HGLOBAL block)
{
    const SIZE_T size = block ? GlobalSize(block) : 0;
    const void* source = size ? GlobalLock(block) : nullptr;
    if (!source)
        return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    void* target = copy ? GlobalLock(copy) : nullptr;
    if (target) {
        std::memcpy(target, source, size);
        GlobalUnlock(copy);
    } else if (copy) {
        GlobalFree(copy);
        copy = nullptr;
    }
    GlobalUnlock(block);
    return copy;
}

void fetch_default_printer(printer_handles& printer)
{
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDEFAULT;
    if (!PrintDlgA(&dialog)) {
        printer.reset(nullptr, nullptr);
        return;
    }
    printer.reset(dialog.hDevMode, dialog.hDevNames);
}

owned_dc create_printer_dc(HGLOBAL devnames, HGLOBAL devmode)
{
    if (!devnames)
        return owned_dc();
    auto* names_block = static_cast<const DEVNAMES*>(GlobalLock(devnames));
    if (!names_block)
        return owned_dc();
    const printer_names names = names_of(names_block);
    auto* mode = devmode ? static_cast<const DEVMODEA*>(GlobalLock(devmode)) : nullptr;
    owned_dc dc(CreateDCA(names.driver, names.device, names.port, mode));
    if (mode)
        GlobalUnlock(devmode);
    GlobalUnlock(devnames);
    return dc;
}

bool needs_offset_swap(HGLOBAL devnames, HGLOBAL devmode)
{
    if (!devmode)
        return false;
    auto* mode = static_cast<DEVMODEA*>(GlobalLock(devmode));
    if (!mode)
        return false;
    if (mode->dmOrientation == DMORIENT_PORTRAIT) {
        GlobalUnlock(devmode);
        return false;
    }
    // Ask the driver for the offset in both orientations; a driver that
    // rotates its offsets for landscape reports different ones.
    const DWORD saved_fields = mode->dmFields;
    const short saved_orientation = mode->dmOrientation;
    mode->dmFields |= DM_ORIENTATION;
    mode->dmOrientation = DMORIENT_PORTRAIT;
    const int portrait = horizontal_offset(devnames, devmode);
    mode->dmOrientation = DMORIENT_LANDSCAPE;
    const int landscape = horizontal_offset(devnames, devmode);
    mode->dmFields = saved_fields;
    mode->dmOrientation = saved_orientation;
    GlobalUnlock(devmode);
    return portrait >= 0 && portrait == landscape;
}

device_caps read_device_caps(HDC dc)
{
    device_caps caps{};
    caps.dpi_x = GetDeviceCaps(dc, LOGPIXELSX);
    caps.dpi_y = GetDeviceCaps(dc, LOGPIXELSY);
    caps.physical_width = GetDeviceCaps(dc, PHYSICALWIDTH);
    caps.physical_height = GetDeviceCaps(dc, PHYSICALHEIGHT);
    caps.horz_res = GetDeviceCaps(dc, HORZRES);
    caps.vert_res = GetDeviceCaps(dc, VERTRES);
    caps.physical_offset_x = GetDeviceCaps(dc, PHYSICALOFFSETX);
    caps.physical_offset_y = GetDeviceCaps(dc, PHYSICALOFFSETY);
    return caps;
}

bool measure_printer(HGLOBAL devnames, HGLOBAL devmode, const smm_rect& margins, smm_size* print_size,
                     smm_rect* unprintable)
{
    device_caps caps{};
    {
        const owned_dc dc = create_printer_dc(devnames, devmode);
        if (!dc)
            return false;
        caps = read_device_caps(dc.get());
    }
    const bool swap = needs_offset_swap(devnames, devmode);
    const std::optional<print_area> area = measure_print_area(caps, swap, &margins);
    if (!area)
        return false;
    *print_size = area->print_size;
    *unprintable = area->unprintable;
    return true;
}

bool lookup_paper_name(HGLOBAL devnames, HGLOBAL devmode, std::string* name)
{
    if (!devnames || !devmode)
        return false;
    auto* names_block = static_cast<const DEVNAMES*>(GlobalLock(devnames));
    if (!names_block)
        return false;
    const printer_names names = names_of(names_block);
    bool listed = false;
    const int name_count = DeviceCapabilitiesA(names.device, names.port, DC_PAPERNAMES, nullptr, nullptr);
    if (name_count != -1) {
        std::vector<char> paper_names(static_cast<size_t>(name_count > 0 ? name_count : 0) * paper_name_slot + 1);
        DeviceCapabilitiesA(names.device, names.port, DC_PAPERNAMES, paper_names.data(), nullptr);
        const int code_count = DeviceCapabilitiesA(names.device, names.port, DC_PAPERS, nullptr, nullptr);
        if (code_count != -1) {
            std::vector<WORD> codes(static_cast<size_t>(code_count > 0 ? code_count : 0) + 1);
            DeviceCapabilitiesA(names.device, names.port, DC_PAPERS, reinterpret_cast<char*>(codes.data()), nullptr);
            auto* mode = static_cast<const DEVMODEA*>(GlobalLock(devmode));
            if (mode) {
                *name = paper_name_for_code(paper_names.data(), name_count, codes.data(), code_count,
                                            mode->dmPaperSize);
                GlobalUnlock(devmode);
                listed = true;
            }
        }
    }
    GlobalUnlock(devnames);
    return listed;
}

bool printer_landscape(HGLOBAL devmode)
{
    auto* mode = devmode ? static_cast<const DEVMODEA*>(GlobalLock(devmode)) : nullptr;
    if (!mode)
        return false;
    const bool landscape = (mode->dmFields & DM_ORIENTATION) && mode->dmOrientation == DMORIENT_LANDSCAPE;
    GlobalUnlock(devmode);
    return landscape;
}

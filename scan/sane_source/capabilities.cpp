// Capability negotiation: every answer is a container in global memory that
// the application frees; settings come as a single value.
#include "scan/sane_source/capabilities.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {

constexpr TW_UINT16 supported[] = {CAP_XFERCOUNT,      CAP_SUPPORTEDCAPS, CAP_UICONTROLLABLE, CAP_INDICATORS,
                                   ICAP_XRESOLUTION,   ICAP_YRESOLUTION,  ICAP_PIXELTYPE,     ICAP_UNITS,
                                   ICAP_XFERMECH};

size_t item_size(TW_UINT16 type)
{
    return type == TWTY_INT32 || type == TWTY_UINT32 || type == TWTY_FIX32 ? 4 : 2;
}

TW_UINT32 fix32_item(double value)
{
    const double scaled = std::floor(value * 65536.0 + 0.5);
    const TW_INT32 fixed = static_cast<TW_INT32>(scaled);
    TW_FIX32 fix{static_cast<TW_INT16>(fixed >> 16), static_cast<TW_UINT16>(fixed & 0xFFFF)};
    TW_UINT32 item;
    std::memcpy(&item, &fix, sizeof item);
    return item;
}

double item_number(TW_UINT16 type, TW_UINT32 item)
{
    switch (type) {
    case TWTY_FIX32: {
        TW_FIX32 fix;
        std::memcpy(&fix, &item, sizeof fix);
        return fix.Whole + fix.Frac / 65536.0;
    }
    case TWTY_INT16: return static_cast<TW_INT16>(item & 0xFFFF);
    case TWTY_INT32: return static_cast<TW_INT32>(item);
    case TWTY_UINT32: return item;
    default: return item & 0xFFFF;
    }
}

void put_item(TW_UINT8* at, TW_UINT16 type, TW_UINT32 item)
{
    if (item_size(type) == 4) {
        std::memcpy(at, &item, 4);
    } else {
        const TW_UINT16 low = static_cast<TW_UINT16>(item);
        std::memcpy(at, &low, 2);
    }
}

HGLOBAL new_container(size_t size)
{
    return GlobalAlloc(GHND, size);
}

template <typename T>
HGLOBAL fill_container(size_t size, T&& fill)
{
    HGLOBAL block = new_container(size);
    auto* bytes = block ? static_cast<TW_UINT8*>(GlobalLock(block)) : nullptr;
    if (!bytes) {
        if (block)
            GlobalFree(block);
        return nullptr;
    }
    fill(bytes);
    GlobalUnlock(block);
    return block;
}

HGLOBAL one_value(TW_UINT16 type, TW_UINT32 item)
{
    return fill_container(sizeof(TW_ONEVALUE), [&](TW_UINT8* bytes) {
        auto* one = reinterpret_cast<TW_ONEVALUE*>(bytes);
        one->ItemType = type;
        put_item(reinterpret_cast<TW_UINT8*>(&one->Item), type, item);
    });
}

HGLOBAL enumeration(TW_UINT16 type, const std::vector<TW_UINT32>& items, size_t current, size_t fallback)
{
    const size_t header = offsetof(TW_ENUMERATION, ItemList);
    return fill_container(header + items.size() * item_size(type), [&](TW_UINT8* bytes) {
        auto* list = reinterpret_cast<TW_ENUMERATION*>(bytes);
        list->ItemType = type;
        list->NumItems = static_cast<TW_UINT32>(items.size());
        list->CurrentIndex = static_cast<TW_UINT32>(current);
        list->DefaultIndex = static_cast<TW_UINT32>(fallback);
        for (size_t i = 0; i < items.size(); ++i)
            put_item(bytes + header + i * item_size(type), type, items[i]);
    });
}

HGLOBAL array(TW_UINT16 type, const std::vector<TW_UINT32>& items)
{
    const size_t header = offsetof(TW_ARRAY, ItemList);
    return fill_container(header + items.size() * item_size(type), [&](TW_UINT8* bytes) {
        auto* list = reinterpret_cast<TW_ARRAY*>(bytes);
        list->ItemType = type;
        list->NumItems = static_cast<TW_UINT32>(items.size());
        for (size_t i = 0; i < items.size(); ++i)
            put_item(bytes + header + i * item_size(type), type, items[i]);
    });
}

// The single value an application sends with MSG_SET.
bool read_one_value(const TW_CAPABILITY& capability, TW_UINT16& type, TW_UINT32& item)
{
    if (capability.ConType != TWON_ONEVALUE || !capability.hContainer ||
        GlobalSize(capability.hContainer) < sizeof(TW_ONEVALUE))
        return false;
    const auto* one = static_cast<const TW_ONEVALUE*>(GlobalLock(capability.hContainer));
    if (!one)
        return false;
    type = one->ItemType;
    item = one->Item;
    GlobalUnlock(capability.hContainer);
    return true;
}

size_t index_of(const std::vector<TW_UINT32>& items, TW_UINT32 item)
{
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == item)
            return i;
    return 0;
}

// One capability seen as a list of allowed items with a current and a
// default one, and how a new item is taken.
struct capability_view {
    TW_UINT16 type = TWTY_UINT16;
    std::vector<TW_UINT32> items;  // empty: any value of the type
    TW_UINT32 current = 0;
    TW_UINT32 fallback = 0;
    bool settable = true;
    bool as_list = true;  // MSG_GET answers with the list, else a single value
};

bool describe(TW_UINT16 cap, const source_values& v, const scan_choices& choices, capability_view& view)
{
    switch (cap) {
    case CAP_XFERCOUNT:
        view.type = TWTY_INT16;
        view.current = static_cast<TW_UINT16>(v.transfer_count);
        view.fallback = 0xFFFF;
        view.as_list = false;
        return true;
    case CAP_SUPPORTEDCAPS:
        view.settable = false;
        return true;
    case CAP_UICONTROLLABLE:
        view.type = TWTY_BOOL;
        view.current = view.fallback = TRUE;
        view.settable = false;
        view.as_list = false;
        return true;
    case CAP_INDICATORS:
        view.type = TWTY_BOOL;
        view.current = v.indicators;
        view.fallback = TRUE;
        view.items = {FALSE, TRUE};
        view.as_list = false;
        return true;
    case ICAP_XRESOLUTION:
    case ICAP_YRESOLUTION:
        view.type = TWTY_FIX32;
        for (int32_t dpi : choices.resolutions)
            view.items.push_back(fix32_item(dpi));
        view.current = fix32_item(v.scan.dpi);
        view.fallback = fix32_item(v.scan_defaults.dpi);
        return true;
    case ICAP_PIXELTYPE:
        if (choices.gray)
            view.items.push_back(TWPT_GRAY);
        if (choices.color)
            view.items.push_back(TWPT_RGB);
        if (view.items.empty())
            view.items.push_back(v.scan.color ? TWPT_RGB : TWPT_GRAY);
        view.current = v.scan.color ? TWPT_RGB : TWPT_GRAY;
        view.fallback = v.scan_defaults.color ? TWPT_RGB : TWPT_GRAY;
        return true;
    case ICAP_UNITS:
        view.items = {TWUN_INCHES};
        view.current = view.fallback = TWUN_INCHES;
        return true;
    case ICAP_XFERMECH:
        view.items = {TWSX_NATIVE, TWSX_FILE};
        view.current = v.transfer_mechanism;
        view.fallback = TWSX_NATIVE;
        return true;
    }
    return false;
}

// Stores an accepted item.
void store(TW_UINT16 cap, source_values& v, TW_UINT32 item)
{
    switch (cap) {
    case CAP_XFERCOUNT: v.transfer_count = static_cast<TW_INT16>(item & 0xFFFF); break;
    case CAP_INDICATORS: v.indicators = (item & 0xFFFF) != 0; break;
    case ICAP_XRESOLUTION:
    case ICAP_YRESOLUTION: v.scan.dpi = static_cast<int32_t>(std::lround(item_number(TWTY_FIX32, item))); break;
    case ICAP_PIXELTYPE: v.scan.color = (item & 0xFFFF) == TWPT_RGB; break;
    case ICAP_XFERMECH: v.transfer_mechanism = static_cast<TW_UINT16>(item); break;
    }
}

// The allowed item nearest to the one asked for; checked tells whether it
// had to be changed.
bool nearest_item(const capability_view& view, TW_UINT16 type, TW_UINT32 asked, TW_UINT32& taken, bool& changed)
{
    const double wanted = item_number(type, asked);
    if (view.items.empty()) {
        taken = view.type == TWTY_FIX32 ? fix32_item(wanted) : static_cast<TW_UINT32>(std::lround(wanted));
        changed = false;
        return true;
    }
    double best = 0;
    bool found = false;
    for (TW_UINT32 item : view.items) {
        const double distance = std::fabs(item_number(view.type, item) - wanted);
        if (!found || distance < best) {
            best = distance;
            taken = item;
            found = true;
        }
    }
    changed = best > 1e-3;
    // Only numbers may be rounded; a choice must be one of the list.
    return view.type == TWTY_FIX32 || !changed;
}

}  // namespace

capability_answer negotiate_capability(source_values& values, const scan_choices& choices, TW_UINT16 message,
                                       TW_CAPABILITY& capability, bool may_set)
{
    capability_view view;
    if (!describe(capability.Cap, values, choices, view))
        return {TWRC_FAILURE, TWCC_CAPUNSUPPORTED};
    HGLOBAL answer = nullptr;
    switch (message) {
    case MSG_QUERYSUPPORT: {
        TW_INT32 flags = TWQC_GET | TWQC_GETCURRENT | TWQC_GETDEFAULT;
        if (view.settable)
            flags |= TWQC_SET | TWQC_RESET;
        capability.ConType = TWON_ONEVALUE;
        answer = one_value(TWTY_INT32, static_cast<TW_UINT32>(flags));
        break;
    }
    case MSG_GET:
        if (capability.Cap == CAP_SUPPORTEDCAPS) {
            capability.ConType = TWON_ARRAY;
            answer = array(TWTY_UINT16, std::vector<TW_UINT32>(std::begin(supported), std::end(supported)));
        } else if (view.as_list && !view.items.empty()) {
            capability.ConType = TWON_ENUMERATION;
            answer = enumeration(view.type, view.items, index_of(view.items, view.current),
                                 index_of(view.items, view.fallback));
        } else {
            capability.ConType = TWON_ONEVALUE;
            answer = one_value(view.type, view.current);
        }
        break;
    case MSG_GETCURRENT:
    case MSG_GETDEFAULT:
        if (capability.Cap == CAP_SUPPORTEDCAPS)
            return {TWRC_FAILURE, TWCC_CAPBADOPERATION};
        capability.ConType = TWON_ONEVALUE;
        answer = one_value(view.type, message == MSG_GETCURRENT ? view.current : view.fallback);
        break;
    case MSG_RESET:
    case MSG_SET: {
        if (!view.settable)
            return {TWRC_FAILURE, TWCC_CAPBADOPERATION};
        if (!may_set)
            return {TWRC_FAILURE, TWCC_SEQERROR};
        TW_UINT32 item = view.fallback;
        bool changed = false;
        if (message == MSG_SET) {
            TW_UINT16 type = 0;
            TW_UINT32 asked = 0;
            if (!read_one_value(capability, type, asked) || !nearest_item(view, type, asked, item, changed))
                return {TWRC_FAILURE, TWCC_BADVALUE};
            // A count is -1 (as many as there are) or at least 1.
            const double count = item_number(type, asked);
            if (capability.Cap == CAP_XFERCOUNT && count != -1 && count != 0xFFFF && count < 1)
                return {TWRC_FAILURE, TWCC_BADVALUE};
        }
        store(capability.Cap, values, item);
        if (message == MSG_RESET) {
            capability.ConType = TWON_ONEVALUE;
            answer = one_value(view.type, item);
            break;
        }
        return {changed ? TWRC_CHECKSTATUS : TWRC_SUCCESS, TWCC_SUCCESS};
    }
    default:
        return {TWRC_FAILURE, TWCC_CAPBADOPERATION};
    }
    if (!answer)
        return {TWRC_FAILURE, TWCC_LOWMEMORY};
    capability.hContainer = answer;
    return {};
}

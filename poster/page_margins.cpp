// Margins between the page setup dialog and the poster's smm.
#include "poster/page_margins.h"

namespace {

int32_t convert(int32_t value, int32_t numerator, int32_t denominator)
{
    return win_mul_div(value, numerator, denominator);
}

}  // namespace

margins_record margins_to_record(const smm_rect& margins, bool metric)
{
    if (metric)
        return {margins.left, margins.top, margins.right, margins.bottom, 1};
    return {convert(margins.left, 1000, smm_per_inch), convert(margins.top, 1000, smm_per_inch),
            convert(margins.right, 1000, smm_per_inch), convert(margins.bottom, 1000, smm_per_inch), 0};
}

smm_rect margins_from_record(const margins_record& record)
{
    if (record.metric)
        return {record.left, record.top, record.right, record.bottom};
    return {convert(record.left, smm_per_inch, 1000), convert(record.top, smm_per_inch, 1000),
            convert(record.right, smm_per_inch, 1000), convert(record.bottom, smm_per_inch, 1000)};
}

int32_t margin_display_factor(const margins_record& record)
{
    return record.metric ? smm_per_mm : 1000;
}

int32_t margin_from_entry(std::optional<double> number, const margins_record& record, int32_t previous)
{
    if (!number)
        return previous;
    if (*number < 0)
        return 0;
    // A margin beyond 100 m is held there, so that it converts to smm without
    // overflow; the tile it leaves is refused afterwards like any other.
    const int32_t largest = record.metric ? max_margin_smm : max_margin_smm * int64_t{1000} / smm_per_inch;
    const double value = *number * margin_display_factor(record);
    if (!(value < largest))
        return largest;
    return static_cast<int32_t>(value);
}

#pragma once
// What a series keeps of its items between drawing passes, and the one way the chart's analysis and
// plotters reach it: the Y and X values and the values of further binding names as plain numbers, and
// a change counter that every change of the values moves on.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "KivoCore/KivoNotifyCollectionChangedEventArgs.h"
#include "OmbriChart/KivoDataArray.h"
#include "series/ValueColumn.h"

class KivoSeries;

namespace kivo::detail {

// The last edit of a series' values when it replaced Y values in place and left the X values as they
// were: the analysis then updates what it kept rather than reading every value again.
struct ReplacedValues {
    // The change counters before and after the edit.
    std::uint64_t from = 0, to = 0;
    // The first entry replaced and the Y values it and those after it held before.
    std::size_t at = 0;
    std::vector<double> before;
};

// The values a subclass answers from its own getValues, as plain numbers: kept while it answers the
// same array.
struct GivenColumn {
    KivoValues from;
    ColumnPtr column;
    bool built = false;
};

struct SeriesColumns {
    KeptColumn y, x;
    GivenColumn givenY, givenX;
    // Set by an edit that replaced a few Y values only; empty otherwise.
    std::optional<ReplacedValues> replaced;
    // By position in the binding (0 is read as y is, but without the decimal strings).
    std::vector<KeptColumn> bindings;
    std::uint64_t generation = nextGeneration();

    void dropAll() {
        y.drop();
        x.drop();
        bindings.clear();
        changed();
    }
    void changed() {
        generation = nextGeneration();
        replaced.reset();
    }
};

class SeriesInternals {
public:
    // Dimension 0: the Y values, 1: the X values, as getValues reads them (null where it answers null).
    // A subclass that answers getValues with values of its own has those.
    static ColumnPtr values(KivoSeries& series, std::int32_t dimension);
    // The values kept for that dimension as they stand, read or not (an update keeps them as the values
    // from before the change); when none are kept, values().
    static ColumnPtr keptValues(KivoSeries& series, std::int32_t dimension);
    // The values of the binding name at `index`, as getBindingValues reads them.
    static ColumnPtr bindingValues(KivoSeries& series, std::int64_t index);
    // Moves on whenever what values() or bindingValues() answer may change.
    static std::uint64_t generation(const KivoSeries& series);
    // What the last change of the counter replaced, when it replaced a few Y values and no X value.
    static const std::optional<ReplacedValues>& replaced(const KivoSeries& series);
    // An edit of the items the series reads: its own (`chartItems` false) or the chart's.
    static void itemsChanged(KivoSeries& series, const KivoNotifyCollectionChangedEventArgs& args, bool chartItems);
    // The memory the kept values take.
    static std::size_t bytes(const KivoSeries& series);
};

}  // namespace kivo::detail

#include "Platform/testing/font_attribute_cases.h"

#include <cmath>
#include <limits>

namespace plat::testing {

const std::vector<FontAttributeCase>& fontAttributeCases() {
    static const std::vector<FontAttributeCase> cases = [] {
        const Value name("HelveticaNeue-Bold"), serif("Serif");
        const Font defaults;
        const Font bold = Font::named("HelveticaNeue-Bold", defaults.size);
        return std::vector<FontAttributeCase>{
            {"family and size", {{FontFamilyAttribute, serif}, {FontSizeAttribute, Value(20.0)}}, Font("Serif", 20)},
            {"face name and size", {{FontNameAttribute, name}, {FontSizeAttribute, Value(15.0)}}, bold.withSize(15)},
            {"a face name wins over another family",
             {{FontNameAttribute, name}, {FontFamilyAttribute, serif}, {FontSizeAttribute, Value(9.0)}},
             bold.withSize(9)},
            {"an empty name leaves the family",
             {{FontNameAttribute, Value("")}, {FontFamilyAttribute, serif}},
             Font("Serif", defaults.size)},
            {"family alone", {{FontFamilyAttribute, Value("DejaVu Sans Mono")}}, Font("DejaVu Sans Mono", defaults.size)},
            {"an integer size", {{FontSizeAttribute, Value(std::int64_t{14})}}, defaults.withSize(14)},
            {"a negative size", {{FontSizeAttribute, Value(-3.0)}}, defaults},
            {"a zero size", {{FontSizeAttribute, Value(0.0)}}, defaults},
            {"a NaN size", {{FontSizeAttribute, Value(std::nan(""))}}, defaults},
            {"an infinite size", {{FontSizeAttribute, Value(std::numeric_limits<double>::infinity())}}, defaults},
            {"entries of the wrong type",
             {{FontFamilyAttribute, Value(7.0)}, {FontNameAttribute, Value()}, {FontSizeAttribute, Value("20")}},
             defaults},
            {"keys outside the vocabulary", {{"family", serif}, {"name", name}, {"size", Value(20.0)}}, defaults},
            {"nothing", {}, defaults},
        };
    }();
    return cases;
}

}  // namespace plat::testing

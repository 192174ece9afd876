#pragma once
// Model classes for the binding tests: a described item (its description is its label, so a label may
// make it a spacer) and a plain record of five properties that describes itself as the platform does.

#include <memory>
#include <string>

#include "Platform/foundation/date.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/reflect.h"

namespace grid_test {

class Labelled : public plat::Object {
public:
    PLAT_CLASS()
    Labelled() = default;
    Labelled(std::string label, long rank) : label(std::move(label)), rank(rank) {}
    std::string label;
    long rank = 0;
    std::string description() const override { return label; }
};

class Record : public plat::Object {
public:
    PLAT_CLASS()
    Record() = default;
    explicit Record(long id) : id(id), name("r" + std::to_string(id)), score(id * 0.5), active(id % 2 == 0) {}
    long id = 0;
    std::string name;
    double score = 0;
    bool active = false;
    plat::Date joined;
};

inline plat::Value labelled(std::string label, long rank = 0) { return plat::Value(std::make_shared<Labelled>(std::move(label), rank)); }

}  // namespace grid_test

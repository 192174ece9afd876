#pragma once
// An application item whose display text ("name") is read through the dynamic-object methods, and
// which counts how often it is read: a test of a bound control tells from the count which items a
// change made it read.

#include <string>
#include <utility>

#include "Platform/foundation/object.h"
#include "Platform/foundation/value.h"

class CountedItem : public plat::DynamicObject {
public:
    CountedItem(std::string name, int& reads) : _name(std::move(name)), _reads(reads) {}
    unsigned answeredMethods() const override { return GetPropertyValue; }
    plat::Value getPropertyValue(const std::string& key) override {
        ++_reads;
        return key == "name" ? plat::Value(_name) : plat::Value();
    }
    const std::string& name() const { return _name; }

private:
    std::string _name;
    int& _reads;
};

#include "Platform/foundation/coder.h"

#include <sys/stat.h>
#include <cmath>
#include <fstream>

#include "plist_reader.h"

namespace plat {
namespace {

const char* kindName(const Value& v) {
    switch (v.kind()) {
        case Value::Kind::Bool:
            return "a boolean";
        case Value::Kind::Integer:
            return "an integer";
        case Value::Kind::Double:
            return "a real";
        case Value::Kind::String:
            return "a string";
        case Value::Kind::Array:
            return "an array";
        case Value::Kind::Dictionary:
            return "a dict";
        default:
            return "another kind of value";
    }
}

}  // namespace

Coder Coder::fromData(std::string_view data, const std::string& source, const CoderLimits& limits) {
    if (data.size() > limits.maxBytes)
        throw CoderException(source + ": " + std::to_string(data.size()) + " bytes, more than the limit of " +
                             std::to_string(limits.maxBytes));
    auto parsed = detail::readPlist(data, limits.maxDepth);
    if (!parsed.error.empty()) throw CoderException(source + ": " + parsed.error);
    if (!parsed.value.isDictionary()) throw CoderException(source + ": the archive's root is not a <dict>");
    return Coder(parsed.value.asDictionary(), source, {});
}

Coder Coder::fromFile(const std::string& path, const CoderLimits& limits) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) throw CoderException(path + ": not a readable file");
    if (static_cast<std::uint64_t>(st.st_size) > limits.maxBytes)
        throw CoderException(path + ": " + std::to_string(st.st_size) + " bytes, more than the limit of " +
                             std::to_string(limits.maxBytes));
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CoderException(path + ": not a readable file");
    // Reads one byte past what stat gave (at most past the limit), so a file that grew since is still
    // refused when it passes the limit.
    std::string data(static_cast<std::size_t>(st.st_size) + 1, '\0');
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(in.gcount()));
    return fromData(data, path, limits);
}

const Value* Coder::find(std::string_view key) const {
    const auto it = _values->find(key);
    return it == _values->end() ? nullptr : &it->second;
}

std::string Coder::keyPath(std::string_view key) const {
    return _path.empty() ? std::string(key) : _path + "." + std::string(key);
}

void Coder::fail(std::string_view key, const std::string& what) const {
    throw CoderException(_source + ": key \"" + keyPath(key) + "\": " + what);
}

bool Coder::containsValueForKey(std::string_view key) const { return find(key) != nullptr; }

bool Coder::decodeBoolForKey(std::string_view key) const {
    const Value* v = find(key);
    if (!v) return false;
    if (!v->isBool()) fail(key, std::string("expected a boolean, found ") + kindName(*v));
    return v->asBool();
}

std::int64_t Coder::decodeIntegerForKey(std::string_view key) const {
    const Value* v = find(key);
    if (!v) return 0;
    if (!v->isInteger()) fail(key, std::string("expected an integer, found ") + kindName(*v));
    return v->asInteger();
}

double Coder::decodeDoubleForKey(std::string_view key) const {
    const Value* v = find(key);
    if (!v) return 0;
    if (!v->isInteger() && !v->isDouble()) fail(key, std::string("expected a number, found ") + kindName(*v));
    const double d = v->asDouble();
    if (!std::isfinite(d)) fail(key, "expected a finite number");
    return d;
}

std::optional<std::string> Coder::decodeStringForKey(std::string_view key) const {
    const Value* v = find(key);
    if (!v) return std::nullopt;
    if (!v->isString()) fail(key, std::string("expected a string, found ") + kindName(*v));
    return v->asString();
}

namespace {

// The numbers of an array value, or a failure naming what is wrong.
std::vector<double> numbers(const Coder& coder, std::string_view key, const Value& v, std::size_t minCount, std::size_t maxCount,
                            const char* what) {
    const auto fail = [&] { coder.fail(key, std::string("expected ") + what); };
    if (!v.isArray()) fail();
    const Array& items = *v.asArray();
    if (items.size() < minCount || items.size() > maxCount) fail();
    std::vector<double> out;
    for (const Value& item : items) {
        if (!item.isInteger() && !item.isDouble()) fail();
        out.push_back(item.asDouble());
        if (!std::isfinite(out.back())) fail();
    }
    return out;
}

}  // namespace

std::optional<Color> Coder::decodeColorForKey(std::string_view key) const {
    const Value* v = find(key);
    if (!v) return std::nullopt;
    const char* what = "a colour: an array of three or four numbers in 0...1 (red, green, blue, alpha)";
    const auto c = numbers(*this, key, *v, 3, 4, what);
    for (double component : c)
        if (component < 0 || component > 1) fail(key, std::string("expected ") + what);
    return Color(c[0], c[1], c[2], c.size() == 4 ? c[3] : 1.0);
}

Rect Coder::decodeRectForKey(std::string_view key) const {
    const Value* v = find(key);
    if (!v) return {};
    const char* what = "a rectangle: an array of four finite numbers (x, y, width, height), no negative size";
    const auto r = numbers(*this, key, *v, 4, 4, what);
    if (r[2] < 0 || r[3] < 0) fail(key, std::string("expected ") + what);
    return Rect(r[0], r[1], r[2], r[3]);
}

std::optional<Coder> Coder::decodeObjectForKey(std::string_view key) const {
    const Value* v = find(key);
    if (!v) return std::nullopt;
    if (!v->isDictionary()) fail(key, std::string("expected a dict, found ") + kindName(*v));
    return Coder(v->asDictionary(), _source, keyPath(key));
}

std::vector<Coder> Coder::decodeObjectsForKey(std::string_view key) const {
    const Value* v = find(key);
    if (!v) return {};
    if (!v->isArray()) fail(key, std::string("expected an array of dicts, found ") + kindName(*v));
    std::vector<Coder> out;
    const Array& items = *v->asArray();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string element = std::string(key) + "[" + std::to_string(i) + "]";
        if (!items[i].isDictionary()) fail(element, std::string("expected a dict, found ") + kindName(items[i]));
        out.push_back(Coder(items[i].asDictionary(), _source, keyPath(element)));
    }
    return out;
}

Value Coder::decodeValueForKey(std::string_view key) const {
    const Value* v = find(key);
    return v ? *v : Value();
}

}  // namespace plat

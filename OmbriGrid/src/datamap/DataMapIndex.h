#pragma once
// A data map's lookups by value: for each path asked for, the first source index of every value found
// there, read once and kept until the source changes. The map answers exactly as a walk of the source
// in order would: values are compared with the platform's equality (numbers by value across kinds,
// texts by content, objects through their own equality, which no hash can stand for and so is walked).
//
// What counts as a change: the view announcing one (an edit, a refresh, another source), a source of
// another identity or length, or an entry found whose value no longer matches when read again. An
// entry's value changed in place without any of these shows only when that entry is found.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "KivoCore/KivoEvent.h"
#include "Platform/foundation/value.h"

class KivoCollectionView;

namespace kivo::detail {

class DataMapIndex {
public:
    explicit DataMapIndex(std::shared_ptr<KivoCollectionView> view);
    ~DataMapIndex();
    DataMapIndex(const DataMapIndex&) = delete;
    DataMapIndex& operator=(const DataMapIndex&) = delete;

    // The source index of the first item whose value at `path` equals `value`, or -1.
    std::int32_t indexOf(const plat::Value& value, const std::string& path);

private:
    // The values at one path, by kind; each list or table keeps the first index of a value.
    struct Values {
        std::unordered_map<std::string, std::int32_t> strings;
        std::unordered_map<std::int64_t, std::int32_t> integers;  // integers and Booleans
        std::unordered_map<double, std::int32_t> integersAsDoubles;
        std::unordered_map<double, std::int32_t> doubles;
        std::unordered_map<double, std::int32_t> dates;
        std::int32_t firstNull = -1;
        // Objects, arrays and dictionaries, in source order, with their values.
        std::vector<std::pair<std::int32_t, plat::Value>> others;

        void add(const plat::Value& value, std::int32_t index);
        std::int32_t find(const plat::Value& value) const;
    };

    // Drops every path's values when the source is not the one they were read from.
    void followSource();
    // Held by the caller while it looks: an object's equality is the application's code, which may
    // look up this map again and so drop what it was looking in.
    std::shared_ptr<const Values> valuesAt(const std::string& path);
    void listen();
    void stopListening();

    std::shared_ptr<KivoCollectionView> _view;
    plat::ArrayPtr _source;
    std::size_t _sourceSize = 0;
    std::uint64_t _announcementsSeen = 0;
    std::unordered_map<std::string, std::shared_ptr<const Values>> _byPath;

    // Counts the view's announcements; shared with the handler, which may outlive this index.
    std::shared_ptr<std::uint64_t> _announcements = std::make_shared<std::uint64_t>(0);
    std::weak_ptr<KivoEvent> _event;
    KivoEventBlock _handler;
};

}  // namespace kivo::detail

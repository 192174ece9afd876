#pragma once
// The detail rows among the grid's rows, kept so that finding the open ones costs nothing in
// proportion to the row count. The record follows the provider's own insertions and removals; any
// other change of the rows (a binding, an application's edit) makes it untrusted, and the next
// question walks the rows once to rebuild it.

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class GridRowCollection;
class GridDetailRow;

namespace kivo::detail {

// Whether the row at `index` is a detail row, read from the list without making a row object.
bool isDetailAt(const GridRowCollection& rows, std::int64_t index);

class OpenDetails {
public:
    struct Found {
        std::shared_ptr<GridDetailRow> row;
        std::int32_t index = -1;
    };

    // The rows changed: by the provider's own edit when one is open, else by someone else.
    void rowsChanged() {
        if (_ownEdits == 0) _trusted = false;
    }
    // Around an insertion or removal the provider makes and records itself.
    class OwnEdit {
    public:
        explicit OwnEdit(OpenDetails& record) : _record(record) { ++_record._ownEdits; }
        ~OwnEdit() { --_record._ownEdits; }
        OwnEdit(const OwnEdit&) = delete;
        OwnEdit& operator=(const OwnEdit&) = delete;

    private:
        OpenDetails& _record;
    };
    void added(const std::shared_ptr<GridDetailRow>& row);

    // Every detail row among `rows`, in row order.
    std::vector<Found> all(const GridRowCollection& rows);
    // The topmost detail row other than `except`; an empty Found when there is none.
    Found first(const GridRowCollection& rows, const GridDetailRow* except = nullptr);

private:
    // Rebuilds the record from the rows when it is not trusted, and drops the rows that left.
    void refresh(const GridRowCollection& rows);

    std::vector<std::weak_ptr<GridDetailRow>> _rows;
    bool _trusted = false;
    int _ownEdits = 0;
};

}  // namespace kivo::detail

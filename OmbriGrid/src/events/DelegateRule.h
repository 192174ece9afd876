#pragma once
// How a delegate's answer meets the handlers' cancel flag when the grid raises a cancelable event.

namespace kivo::detail {

enum class DelegateRule : int {
    // A delegate that answers decides alone; without an answer the handlers' cancel stands.
    Replaces,
    // Either side stops the action: the handlers' cancel, or a true answer (asked even after a cancel).
    EitherStops,
    // The handlers' cancel stops the action without asking the delegate; otherwise a true answer does.
    HandlersFirst,
};

}  // namespace kivo::detail

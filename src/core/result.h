// The one shape of a failure in the core: a result holds either its value or a problem,
// which says what kind of failure it was and gives the words the user is shown. The
// words of a subsystem's problems are written in one place, the function that makes its
// problems.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace kalvo {

template <class Kind>
struct Problem {
    Kind kind{};
    std::string words;  // one Japanese sentence or more, as the user reads them
    int line = 0;       // the 1-based line of a file the problem lies on; 0 when none
};

template <class T, class Kind>
class Result {
public:
    Result(T value) : v_(std::move(value)) {}                  // NOLINT: a value is a result
    Result(Problem<Kind> problem) : v_(std::move(problem)) {}  // NOLINT: so is a problem
    bool ok() const { return v_.index() == 0; }
    // Only when ok().
    const T& value() const { return std::get<0>(v_); }
    T& value() { return std::get<0>(v_); }
    // Only when !ok().
    const Problem<Kind>& problem() const { return std::get<1>(v_); }

private:
    std::variant<T, Problem<Kind>> v_;
};

}  // namespace kalvo

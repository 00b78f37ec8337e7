#pragma once

#include <optional>
#include <utility>
#include <variant>

// The cause of a failure, as a call hands it back: `return Failed{cause};`.
template <class Cause> struct Failed { Cause cause; };
// For compilers without deduction for aggregates (clang before 17).
template <class Cause> Failed(Cause) -> Failed<Cause>;

// What a call that can fail gives back: its value, or the cause it failed with. A cause is a
// plain value of the subsystem's own (a code, and the errno or library code it comes down to),
// never a sentence: each subsystem composes its sentences in one place of its own. (C++20 has
// no std::expected; this is the small part of it the program uses.)
template <class T, class Cause> class Result {
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Failed<Cause> failed) : m_state(std::in_place_index<1>, std::move(failed.cause)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    T& value() & { return std::get<0>(m_state); }
    const T& value() const& { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    // Only when not ok().
    const Cause& cause() const { return std::get<1>(m_state); }

private:
    std::variant<T, Cause> m_state;
};

// A call that gives nothing back but can fail.
template <class Cause> class Result<void, Cause> {
public:
    Result() = default;
    Result(Failed<Cause> failed) : m_cause(std::move(failed.cause)) {}

    bool ok() const { return !m_cause.has_value(); }
    explicit operator bool() const { return ok(); }

    // Only when not ok().
    const Cause& cause() const { return *m_cause; }

private:
    std::optional<Cause> m_cause;
};

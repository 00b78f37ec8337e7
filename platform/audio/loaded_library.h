#pragma once

#include <dlfcn.h>

#include <cstdio>
#include <type_traits>

// A system library opened when it is first needed rather than linked to the program, and the
// table of its functions that the program calls through. The audio libraries come with a
// decoder of every sound format they know, and the program should not map them all before its
// window is up.
//
// Should the library or one of its functions be missing, the whole table is made of stand-ins
// that do nothing and return zero: a null stream, a false check, a failed open. Callers then
// take the failure path they already take when the audio server or a file cannot be opened.

// The members of a table: one pointer named and typed after each function FUNCTIONS(F) lists
// (F(pa_stream_new) and so on), and forEachFunction(visit), which calls visit(name, member)
// for each of them, as loadLibraryTable needs.
#define SORVINTA_LIBRARY_MEMBER(name) decltype(&::name) name = nullptr;
#define SORVINTA_LIBRARY_VISIT(name) visit(#name, name);
#define SORVINTA_LIBRARY_TABLE(FUNCTIONS)                                                          \
    FUNCTIONS(SORVINTA_LIBRARY_MEMBER)                                                             \
    template <typename Visit> void forEachFunction(Visit&& visit) {                                \
        FUNCTIONS(SORVINTA_LIBRARY_VISIT)                                                          \
    }

// The stand-in for a function of type F.
template <typename F> struct ZeroStandIn;
template <typename R, typename... Args> struct ZeroStandIn<R (*)(Args...)> {
    static R call(Args...) {
        if constexpr (!std::is_void_v<R>)
            return R{};
    }
};

// Opens `soname` for the rest of the program's life (it is never closed); null, after saying
// why on the standard error, when it cannot be opened.
inline void* openLoadedLibrary(const char* soname) {
    void* library = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        std::fprintf(stderr, "sorvinta: %s\n", dlerror());
    return library;
}

// Sets `function` to the function `name` of `library` (`soname`, opened); clears `complete` when
// there is none.
template <typename F>
void findLoadedFunction(void* library, const char* soname, const char* name, F& function,
                        bool& complete) {
    function = library ? reinterpret_cast<F>(dlsym(library, name)) : nullptr;
    if (!function) {
        if (library)
            std::fprintf(stderr, "sorvinta: %s lacks %s\n", soname, name);
        complete = false;
    }
}

template <typename F> void useStandIn(F& function) {
    function = &ZeroStandIn<F>::call;
}

// The table of `soname`: a struct made with SORVINTA_LIBRARY_TABLE.
template <typename Table> Table loadLibraryTable(const char* soname) {
    Table table;
    void* library = openLoadedLibrary(soname);
    bool complete = library != nullptr;
    table.forEachFunction([&](const char* name, auto& function) {
        findLoadedFunction(library, soname, name, function, complete);
    });
    if (!complete)
        table.forEachFunction([](const char*, auto& function) { useStandIn(function); });
    return table;
}

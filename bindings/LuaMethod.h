#pragma once
// Script methods derived from C++ signatures.
//
// A form is one callable shape of a script method, made from a function known at
// compile time:
//     method<&Node::removeFromParent>()        member function; self is argument 1
//     method<&addChildWithZOrder>()            free function whose first parameter is
//                                              the self pointer (default arguments,
//                                              renamed calls)
//     classFunction<&Director::getInstance>()  static or free function, no self
// Its script arguments are the parameters after self, read from stack index 2 on
// by bindings::readArgument; its result is pushed by bindings::pushResult (none
// for void). See bindings/LuaArguments.h for the types understood.
//
// A Method row names up to kMaxForms forms. When called, the count is the stack
// size less one (self, or the class table for class functions). The forms taking
// that count are tried in order; the first whose arguments all read is called.
// Errors (Lua errors, raised after every C++ temporary of the call is gone):
//   no form takes the count   "%s has wrong number of arguments: %d, was expecting %d \n"
//                             with "cc.Node:addChild", the count and the count of the
//                             row's last form
//   no form could read them   "invalid arguments in function 'lua_engine_Node_addChild'"
//   self of another type      the same invalid-arguments error (the object's own
//                             class is checked, whatever Lua type it carries)
//   self a dead object        "invalid 'cobj' in function 'lua_engine_Node_addChild'"
#include <lua.hpp>

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "bindings/LuaArguments.h"

namespace bindings {

struct MethodForm {
    int argc = -1;               // script arguments besides self
    bool classFunction = false;  // no self
    // Reads the arguments, calls, pushes the result: the count of results, or -1
    // when an argument could not be read (nothing pushed, the stack unchanged).
    int (*invoke)(lua_State* L, void* self) = nullptr;
};

inline constexpr int kMaxForms = 4;

struct Method {
    const char* name;              // the Lua method name ("addChild")
    MethodForm forms[kMaxForms];   // unused slots have no invoker
};

namespace detail {

template <class F>
struct Signature;

// Member functions: self is the class.
template <class R, class C, class... A>
struct Signature<R (C::*)(A...)> {
    using Result = R;
    using Self = C;
    using Args = std::tuple<A...>;
    template <auto F, class... V>
    static R call(void* self, V&&... args) {
        return (static_cast<C*>(self)->*F)(std::forward<V>(args)...);
    }
};
template <class R, class C, class... A>
struct Signature<R (C::*)(A...) const> : Signature<R (C::*)(A...)> {
    template <auto F, class... V>
    static R call(void* self, V&&... args) {
        return (static_cast<const C*>(self)->*F)(std::forward<V>(args)...);
    }
};
template <class R, class C, class... A>
struct Signature<R (C::*)(A...) noexcept> : Signature<R (C::*)(A...)> {};
template <class R, class C, class... A>
struct Signature<R (C::*)(A...) const noexcept> : Signature<R (C::*)(A...) const> {};

// Free functions with no self.
template <class R, class... A>
struct Signature<R (*)(A...)> {
    using Result = R;
    using Self = void;
    using Args = std::tuple<A...>;
    template <auto F, class... V>
    static R call(void*, V&&... args) {
        return F(std::forward<V>(args)...);
    }
};
template <class R, class... A>
struct Signature<R (*)(A...) noexcept> : Signature<R (*)(A...)> {};

// Free functions whose first parameter is self.
template <class F>
struct SelfFirst;
template <class R, class C, class... A>
struct SelfFirst<R (*)(C*, A...)> {
    using Result = R;
    using Self = C;
    using Args = std::tuple<A...>;
    template <auto F, class... V>
    static R call(void* self, V&&... args) {
        return F(static_cast<C*>(self), std::forward<V>(args)...);
    }
};

template <class T>
using Stored = typename ArgumentStorage<T>::type;

template <auto F, class S, std::size_t... I>
int invoke(lua_State* L, void* self, std::index_sequence<I...>) {
    (void)L;
    using Args = typename S::Args;
    static_assert((std::is_trivially_destructible_v<Stored<std::tuple_element_t<I, Args>>> && ...),
                  "argument storage must not need destruction: reads may raise Lua errors");
    // Self is judged by the object's own class, not by the Lua type it carries.
    if constexpr (std::is_base_of_v<engine::Ref, typename S::Self>) {
        self = dynamic_cast<typename S::Self*>(static_cast<engine::Ref*>(self));
        if (!self) return -1;
    }
    std::tuple<Stored<std::tuple_element_t<I, Args>>...> values{};
    if (!(readArgument(L, static_cast<int>(2 + I), &std::get<I>(values)) && ...)) return -1;
    using R = typename S::Result;
    if constexpr (std::is_void_v<R>) {
        S::template call<F>(self, std::get<I>(values)...);
        return 0;
    } else {
        return pushResult(L, S::template call<F>(self, std::get<I>(values)...));
    }
}

template <auto F, class S>
int invokeForm(lua_State* L, void* self) {
    return invoke<F, S>(L, self, std::make_index_sequence<std::tuple_size_v<typename S::Args>>{});
}

template <auto F, class S>
constexpr MethodForm makeForm(bool classFunction) {
    return MethodForm{static_cast<int>(std::tuple_size_v<typename S::Args>), classFunction, &invokeForm<F, S>};
}

}  // namespace detail

// An instance method: a member function, or a free function taking self first.
template <auto F>
constexpr MethodForm method() {
    using Fn = decltype(F);
    if constexpr (std::is_member_function_pointer_v<Fn>) {
        return detail::makeForm<F, detail::Signature<Fn>>(false);
    } else {
        return detail::makeForm<F, detail::SelfFirst<Fn>>(false);
    }
}

// A class function: a static member or free function; no self.
template <auto F>
constexpr MethodForm classFunction() {
    return detail::makeForm<F, detail::Signature<decltype(F)>>(true);
}

// One overload of an overloaded member function, picked by its signature:
//     method<overload<void(float, float)>(&Node::setPosition)>()
template <class Sig, class C>
constexpr auto overload(Sig C::*member) {
    return member;
}

// The lua_CFunction behind every registered method. Upvalues: the Method row
// (light userdata), its Lua name, its binding name and the Lua type of self.
int dispatchMethod(lua_State* L);

}  // namespace bindings

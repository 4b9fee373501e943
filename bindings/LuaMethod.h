#pragma once
// Script methods derived from C++ signatures.
//
// A form is one callable shape of a script method, made from a function known at
// compile time:
//     method<&Node::removeFromParent>()        member function; self is argument 1
//     method<&Node::addChild, 0, -1>()         the same with defaults for its last
//                                              parameters: takes 1 to 3 arguments
//     method<&renamedCall>()                   free function whose first parameter is
//                                              the self pointer
//     methodOf<Sprite, &BlendProtocol::getBlendFunc>()
//                                              a member of a base that is not the
//                                              object's first base, bound through the
//                                              row's class
//     classFunction<&Director::getInstance>()  static or free function, no self
//     classFunction<&Label::create, kEmpty>()  with defaults too (a text default
//                                              is a named constant char array)
// Defaults are values of the parameters' own types (or convertible to them),
// given for the last parameters in order; a number that is not a whole one is
// given as the address of a named constant (template arguments of floating type
// are beyond some of our compilers). Its script arguments are the
// parameters after self, read from stack index 2 on by bindings::readArgument;
// its result is pushed by bindings::pushResult (none for void). See
// bindings/LuaArguments.h for the types understood.
//
// A Method row names any number of forms. When called, the count is the stack
// size less one (self, or the class table for class functions). The forms taking
// that count are tried in order twice: first with exact Lua types only (a number
// for a number, a live object for an object, never nil; see argumentIsExact),
// then with the readers' conversions (numeric strings, nil as a null object);
// the first whose arguments all read is called.
//
// Self: engine objects are read through their Ref address and cast to the
// form's class, which is right also for classes with two bases. A member of a
// non-Ref base marked as a second base (isSecondBase) does not compile with
// method<>: bind it with methodOf<Class, ...>.
//
// Errors (Lua errors, raised after every C++ temporary of the call is gone):
//   no form takes the count   "%s has wrong number of arguments: %d, was expecting %d \n"
//                             with "cc.Node:addChild", the count and the largest
//                             count of the row's last form
//   no form could read them   "invalid arguments in function 'lua_engine_Node_addChild'"
//                             (also for a dead object given as an argument)
//   self of another type      the same invalid-arguments error (the object's own
//                             class is checked, whatever Lua type it carries)
//   self a dead object        "invalid 'cobj' in function 'lua_engine_Node_addChild'"
#include <lua.hpp>

#include <cstddef>
#include <vector>
#include <tuple>
#include <type_traits>
#include <utility>

#include "bindings/LuaArguments.h"
#include "engine/renderer/RenderRecords.h"

namespace bindings {

struct MethodForm {
    int minArgc = -1;            // script arguments besides self: minArgc..maxArgc
    int maxArgc = -1;
    bool classFunction = false;  // no self
    // Reads the argc arguments (exact: Lua types must match without conversion),
    // calls, pushes the result: the count of results, or -1 when an argument
    // could not be read (nothing pushed, the stack unchanged).
    int (*invoke)(lua_State* L, void* self, int argc, bool exact) = nullptr;

    bool takes(int argc) const { return argc >= minArgc && argc <= maxArgc; }
};

struct Method {
    const char* name;               // the Lua method name ("addChild")
    std::vector<MethodForm> forms;  // tried in order
};

// Non-Ref bases that engine classes take as a second base: their members are
// bound through the object's class (methodOf), never by a cast from the
// stored address.
template <class T>
inline constexpr bool isSecondBase = false;
template <>
inline constexpr bool isSecondBase<engine::BlendProtocol> = true;

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
        return (objectFromUserdata<C>(self)->*F)(std::forward<V>(args)...);
    }
};
template <class R, class C, class... A>
struct Signature<R (C::*)(A...) const> : Signature<R (C::*)(A...)> {
    template <auto F, class... V>
    static R call(void* self, V&&... args) {
        return (static_cast<const C*>(objectFromUserdata<C>(self))->*F)(std::forward<V>(args)...);
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
        return F(objectFromUserdata<C>(self), std::forward<V>(args)...);
    }
};

// A default as the stored type of its parameter ("" for a text parameter).
template <class T, class V>
T defaultValue(const V& value) {
    if constexpr (std::is_same_v<T, TextArgument>) {
        TextArgument text;
        text.data = value;
        text.size = std::char_traits<char>::length(value);
        return text;
    } else if constexpr (std::is_pointer_v<V>) {
        return static_cast<T>(*value);
    } else {
        return static_cast<T>(value);
    }
}

// A member of a base reached through the row's class Bound.
template <class Bound, class S>
struct BoundSelf : S {
    using Self = Bound;
    template <auto F, class... V>
    static typename S::Result call(void* self, V&&... args) {
        Bound* object = objectFromUserdata<Bound>(self);
        using Base = typename S::Self;
        Base* base = object;
        return S::template call<F>(static_cast<void*>(base), std::forward<V>(args)...);
    }
};

template <class T>
using Stored = typename ArgumentStorage<T>::type;

template <class T>
bool readOne(lua_State* L, int index, T* out, bool exact) {
    if (exact && !argumentIsExact<T>(L, index)) return false;
    return readArgument(L, index, out);
}

template <auto F, class S, auto... D, std::size_t... I>
int invoke(lua_State* L, void* self, int argc, bool exact, std::index_sequence<I...>) {
    (void)L;
    (void)argc;
    (void)exact;
    using Args = typename S::Args;
    constexpr std::size_t count = sizeof...(I);
    constexpr std::size_t firstDefault = count - sizeof...(D);
    static_assert((std::is_trivially_destructible_v<Stored<std::tuple_element_t<I, Args>>> && ...),
                  "argument storage must not need destruction: reads may raise Lua errors");
    // Self is judged by the object's own class, not by the Lua type it carries;
    // it stays the stored Ref address, which the call casts from.
    if constexpr (std::is_base_of_v<engine::Ref, typename S::Self>) {
        if (self && !dynamic_cast<typename S::Self*>(static_cast<engine::Ref*>(self))) return -1;
    }
    std::tuple<Stored<std::tuple_element_t<I, Args>>...> values{};
    [&]<std::size_t... J>(std::index_sequence<J...>) {
        ((std::get<firstDefault + J>(values) = defaultValue<Stored<std::tuple_element_t<firstDefault + J, Args>>>(D)),
         ...);
    }(std::make_index_sequence<sizeof...(D)>{});
    if (!((static_cast<int>(I) >= argc || readOne(L, static_cast<int>(2 + I), &std::get<I>(values), exact)) && ...)) {
        return -1;
    }
    using R = typename S::Result;
    if constexpr (std::is_void_v<R>) {
        S::template call<F>(self, std::get<I>(values)...);
        return 0;
    } else {
        return pushResult(L, S::template call<F>(self, std::get<I>(values)...));
    }
}

template <auto F, class S, auto... D>
int invokeForm(lua_State* L, void* self, int argc, bool exact) {
    return invoke<F, S, D...>(L, self, argc, exact, std::make_index_sequence<std::tuple_size_v<typename S::Args>>{});
}

template <auto F, class S, auto... D>
constexpr MethodForm makeForm(bool classFunction) {
    constexpr int count = static_cast<int>(std::tuple_size_v<typename S::Args>);
    static_assert(sizeof...(D) <= static_cast<std::size_t>(count), "more defaults than parameters");
    return MethodForm{count - static_cast<int>(sizeof...(D)), count, classFunction, &invokeForm<F, S, D...>};
}

}  // namespace detail

// An instance method: a member function, or a free function taking self first;
// D are the defaults of its last parameters.
template <auto F, auto... D>
constexpr MethodForm method() {
    using Fn = decltype(F);
    if constexpr (std::is_member_function_pointer_v<Fn>) {
        static_assert(!isSecondBase<typename detail::Signature<Fn>::Self>,
                      "a member of a second base: bind it with methodOf<Class, member>()");
        return detail::makeForm<F, detail::Signature<Fn>, D...>(false);
    } else {
        return detail::makeForm<F, detail::SelfFirst<Fn>, D...>(false);
    }
}

// A member function of a base of Class, called on the object read as Class.
template <class Class, auto F, auto... D>
constexpr MethodForm methodOf() {
    using S = detail::Signature<decltype(F)>;
    static_assert(std::is_base_of_v<typename S::Self, Class>, "the member must belong to Class or a base");
    return detail::makeForm<F, detail::BoundSelf<Class, S>, D...>(false);
}

// A class function: a static member or free function; no self.
template <auto F, auto... D>
constexpr MethodForm classFunction() {
    return detail::makeForm<F, detail::Signature<decltype(F)>, D...>(true);
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

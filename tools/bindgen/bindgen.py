#!/usr/bin/python3
"""Writes the generated rows of every binding module from the engine headers.

For each module folder of bindings/ (MODULES below) the classes that reach
scripts are the rows of its hand-written class table (classEntry<T>("cc.Node",
...) calls in the folder's .cpp files, read with libclang so that T is the
class the compiler sees). For every such class the generator lists the public
methods the class declares (its own and those a `using Base::name;` brings in)
and writes bindings/<folder>/<Module>Generated.cpp:
  - one Method row per method name, one form per overload picked by its exact
    signature, and one shorter form per default argument (an adapter that lets
    the compiler fill the default in);
  - static functions as class functions;
  - the declared methods, each with null (bound) or the reason it is not.
A method is left out when skip.txt names it (with its reason) or when a type of
its signature has no reader or writer in bindings/LuaArguments.h; the reason is
then written automatically, so a new declaration never breaks the build.

Usage: bindgen.py [--check] [--unbound] [--root DIR]
  --check    compare instead of writing; exit 1 when a generated file is stale
  --unbound  print every declared method that is not bound, with its reason
Output is deterministic: classes in their class table's order, methods in
declaration order.
"""
import argparse
import os
import re
import sys
from collections import OrderedDict

import clang.cindex as ci

# Folder, file stem: the modules whose class tables get generated rows.
MODULES = [
    ("core", "Core"),
    ("experimental", "Experimental"),
    ("physics", "Physics"),
    ("builder", "Builder"),
    ("studio", "Studio"),
    ("ui", "Ui"),
    ("extension", "Extension"),
    ("skeleton", "Skeleton"),
    ("3d", "ThreeD"),
    ("audioengine", "AudioEngine"),
    ("physics3d", "Physics3D"),
    ("navmesh", "NavMesh"),
]

# Canonical spellings of the value types with a reader and a writer, and of
# those with a writer only (their values need destruction, which a stored
# argument must not: reads may raise Lua errors).
STRING_TYPE = "std::basic_string<char>"
VALUE_MAP = "std::unordered_map<%s, engine::Value>" % STRING_TYPE
VALUE_VECTOR = "std::vector<engine::Value>"
RECORDS = {
    "engine::Vec2", "engine::Vec3", "engine::Vec4", "engine::Size", "engine::Rect",
    "engine::Quaternion", "engine::Mat4", "engine::Color3B", "engine::Color4B",
    "engine::Color4F", "engine::BlendFunc", "engine::Quad3", "engine::PhysicsMaterial",
    "engine::FontDefinition", "engine::AffineTransform", VALUE_MAP, VALUE_VECTOR,
}
WRITE_ONLY_RECORDS = {"engine::Value", "engine::TTFConfig"}
READ_ONLY_RECORDS = {"engine::NavMeshAgentParam"}
# Element types of std::vector lists: read and written, or written only.
LIST_ELEMENTS = {STRING_TYPE, "int", "float", "engine::Vec3"}
STRING = re.compile(r"^std::(__cxx11::)?basic_string<char(, std::char_traits<char>, std::allocator<char>)?>$")
INTEGERS = {
    "bool", "char", "signed char", "unsigned char", "short", "unsigned short", "int",
    "unsigned int", "long", "unsigned long", "long long", "unsigned long long",
}
FLOATS = {"float", "double"}


def fail(message):
    print("bindgen: " + message, file=sys.stderr)
    sys.exit(2)


def clang_args(root):
    args = ["-x", "c++", "-std=c++20", "-I" + root, "-I" + os.path.join(root, "build", "test", "generated")]
    for d in ["/usr/include/lua5.1", "/usr/include/bullet", "/usr/include/freetype2", "/usr/include/AL",
              "/usr/include/minizip", "/usr/include/libpng16", "/usr/include/cairo",
              "/usr/include/glib-2.0", "/usr/lib/x86_64-linux-gnu/glib-2.0/include", "/usr/include/pixman-1",
              "/usr/include/opus"]:
        args.append("-isystem" + d)
    for d in ["/usr/lib/llvm-14/lib/clang/14.0.6/include", "/usr/lib/llvm-14/lib/clang/14/include"]:
        if os.path.isdir(d):
            args.append("-isystem" + d)
    return args


def qualified(cursor):
    parts = []
    c = cursor
    while c is not None and c.kind != ci.CursorKind.TRANSLATION_UNIT:
        if c.spelling:
            parts.append(c.spelling)
        c = c.semantic_parent
    return "::".join(reversed(parts))


class ClassRow:
    def __init__(self, lua_name, cursor):
        self.lua_name = lua_name
        self.cursor = cursor
        self.cpp = qualified(cursor)


def kind_of(cursor):
    try:
        return cursor.kind
    except ValueError:  # a kind this binding of libclang does not name
        return None


def walk_file(top, path):
    """Every cursor under the top-level declarations of the file path."""
    stack = [c for c in top.get_children() if c.location.file is not None and c.location.file.name == path]
    stack.reverse()
    while stack:
        cursor = stack.pop()
        yield cursor
        children = list(cursor.get_children())
        children.reverse()
        stack.extend(children)


ENTRY = re.compile(r'(?:owned)?[cC]lassEntry<\s*([A-Za-z_:][A-Za-z0-9_:]*)\s*>\(\s*"([^"]+)"')
USING = re.compile(r"^\s*using namespace ([A-Za-z_:][A-Za-z0-9_:]*);", re.M)
# using a::B;  and  using B = a::C;
USING_NAME = re.compile(r"^\s*using (?:(\w+) = )?([A-Za-z_:][A-Za-z0-9_:]*::(\w+));", re.M)


def engine_classes(index, args, root):
    """Qualified name -> class definition, for every class of the engine's headers
    (type aliases resolved), read from one translation unit of them all."""
    headers = []
    for top in ("engine", "skeleton"):
        for folder, _, names in os.walk(os.path.join(root, top)):
            headers.extend(os.path.relpath(os.path.join(folder, n), root) for n in names if n.endswith(".h"))
    source = "".join('#include "%s"\n' % h.replace(os.sep, "/") for h in sorted(headers))
    unit = os.path.join(root, "bindgen_all.cpp")  # in memory only
    tu = index.parse(unit, args=args, unsaved_files=[(unit, source)],
                     options=ci.TranslationUnit.PARSE_SKIP_FUNCTION_BODIES)
    errors = [d for d in tu.diagnostics if d.severity >= ci.Diagnostic.Error]
    if errors:
        fail("the engine headers do not parse: %s" % errors[0])
    classes = {}
    prefix = os.path.join(root, "")

    def visit(cursor, scope):
        for child in cursor.get_children():
            kind = kind_of(child)
            if child.location.file is None or not os.path.abspath(child.location.file.name).startswith(prefix):
                continue
            if kind == ci.CursorKind.NAMESPACE:
                visit(child, scope + [child.spelling])
            elif kind in (ci.CursorKind.CLASS_DECL, ci.CursorKind.STRUCT_DECL) and child.is_definition():
                name = "::".join(scope + [child.spelling])
                classes.setdefault(name, child)
                visit(child, scope + [child.spelling])
            elif kind in (ci.CursorKind.TYPE_ALIAS_DECL, ci.CursorKind.TYPEDEF_DECL):
                decl = child.underlying_typedef_type.get_canonical().get_declaration()
                if decl is not None and kind_of(decl) in (ci.CursorKind.CLASS_DECL, ci.CursorKind.STRUCT_DECL):
                    definition = decl.get_definition()
                    if definition is not None:
                        classes.setdefault("::".join(scope + [child.spelling]), definition)
    visit(tu.cursor, [])
    return classes, tu


def resolve(spelled, namespaces, classes):
    """The class a name written in a binding file means: as written, or inside one of
    the namespaces the file opens or uses."""
    spelled = spelled.lstrip(":")
    for ns in [""] + namespaces:
        name = ns + "::" + spelled if ns else spelled
        if name in classes:
            return classes[name]
    return None


def find_class_rows(files, classes):
    """The classEntry<T>("lua.Name", ...) rows of the files, in file order."""
    rows = []
    for path in files:
        text = open(path).read()
        namespaces = USING.findall(text) + ["engine", "bindings"]
        names = {alias or last: target for alias, target, last in USING_NAME.findall(text)}
        for spelled, lua_name in ENTRY.findall(text):
            target = names.get(spelled)
            cursor = resolve(target, namespaces, classes) if target else None
            cursor = cursor or resolve(spelled, namespaces, classes)
            if cursor is None:
                print("bindgen: %s: no engine class '%s' for %s" % (path, spelled, lua_name), file=sys.stderr)
                continue
            rows.append((lua_name, cursor))
    return rows


def type_headers(t, root, out):
    """Adds the headers that define the classes a type names (through pointers,
    references and template arguments)."""
    t = t.get_canonical()
    while t.kind in (ci.TypeKind.POINTER, ci.TypeKind.LVALUEREFERENCE, ci.TypeKind.RVALUEREFERENCE):
        t = t.get_pointee().get_canonical()
    decl = t.get_declaration()
    if decl is not None and decl.kind != ci.CursorKind.NO_DECL_FOUND:
        definition = decl.get_definition() or decl
        if definition.location.file is not None:
            path = os.path.abspath(definition.location.file.name)
            if path.startswith(os.path.join(root, "")) and path.endswith(".h"):
                out.add(header_of(definition, root))
    for i in range(max(t.get_num_template_arguments(), 0)):
        type_headers(t.get_template_argument_type(i), root, out)


def header_of(cursor, root):
    path = os.path.relpath(cursor.location.file.name, root)
    return path.replace(os.sep, "/")


class TypeClassifier:
    """Decides whether a type has a reader (argument) or a writer (result)."""

    def __init__(self, registered):
        self.registered = registered  # canonical C++ name -> Lua name

    @staticmethod
    def name(t):
        t = t.get_canonical()
        s = t.spelling
        return s.replace("const ", "").replace("volatile ", "").strip()

    def object_class(self, pointee):
        decl = pointee.get_canonical().get_declaration()
        if decl is None or decl.kind == ci.CursorKind.NO_DECL_FOUND:
            return None
        return qualified(decl)

    def value(self, t, reading):
        """None when the plain (non pointer, non reference) type t converts; else the reason."""
        t = t.get_canonical()
        n = self.name(t)
        if t.kind == ci.TypeKind.ENUM:
            return None
        if n in INTEGERS or n in FLOATS:
            return None
        if STRING.match(n):
            return None
        if n in RECORDS or (reading and n in READ_ONLY_RECORDS) or (not reading and n in WRITE_ONLY_RECORDS):
            return None
        m = re.match(r"^engine::Vector<(.*) \*>$", n)
        if m:
            return None if m.group(1) in self.registered else "a list of '%s', a class scripts do not know" % m.group(1)
        m = re.match(r"^engine::Map<std::(__cxx11::)?basic_string<char>, (.*) \*>$", n)
        if m and not reading:
            return None if m.group(2) in self.registered else "a map of '%s', a class scripts do not know" % m.group(2)
        m = re.match(r"^std::vector<(.*)>$", n)
        if m:
            inner = m.group(1)
            if inner in LIST_ELEMENTS:
                return None
            if not reading and inner.endswith(" *") and inner[:-2] in self.registered:
                return None
            return "a list of '%s' has no %s" % (inner, "reader" if reading else "writer")
        m = re.match(r"^std::function<(.*)>$", n)
        if m:
            return "a callback ('%s'); its handlers are set through the listener functions" % n
        return "'%s' has no %s" % (n, "reader" if reading else "writer")

    def argument(self, t):
        t = t.get_canonical()
        if t.kind == ci.TypeKind.RVALUEREFERENCE:
            return "takes a temporary ('%s')" % t.spelling
        if t.kind == ci.TypeKind.LVALUEREFERENCE:
            pointee = t.get_pointee()
            if not pointee.is_const_qualified():
                return "writes through its argument ('%s')" % t.spelling
            return self.value(pointee, True)
        if t.kind == ci.TypeKind.POINTER:
            return self.pointer(t, "'%s' is not an object scripts know")
        return self.value(t, True)

    def pointer(self, t, refusal):
        """None for a C string or an object of a registered class; else the refusal."""
        pointee = t.get_pointee().get_canonical()
        if pointee.kind in (ci.TypeKind.CHAR_S, ci.TypeKind.CHAR_U) and pointee.is_const_qualified():
            return None
        if pointee.kind == ci.TypeKind.RECORD and self.object_class(pointee) in self.registered:
            return None
        return refusal % t.spelling

    def result(self, t):
        t = t.get_canonical()
        if t.kind == ci.TypeKind.VOID:
            return None
        if t.kind in (ci.TypeKind.LVALUEREFERENCE, ci.TypeKind.RVALUEREFERENCE):
            pointee = t.get_pointee().get_canonical()
            if pointee.kind == ci.TypeKind.RECORD and self.object_class(pointee) in self.registered:
                return "returns an object by reference ('%s')" % t.spelling
            return self.value(pointee, False)
        if t.kind == ci.TypeKind.POINTER:
            return self.pointer(t, "returns '%s', not an object scripts know")
        return self.value(t, False)


def load_skips(path):
    skips = {}
    with open(path) as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            parts = line.split(None, 1)
            if len(parts) < 2:
                fail("%s:%d: a skip needs its reason" % (path, number))
            skips[parts[0]] = parts[1]
    return skips


class Overload:
    def __init__(self, cursor, owner, reason):
        self.cursor = cursor
        self.owner = owner    # the registered class whose row it is
        self.reason = reason  # None: bound


def public_members(cls):
    """Public method cursors and using-declarations of cls, in declaration order."""
    access = None
    for child in cls.get_children():
        if child.access_specifier != ci.AccessSpecifier.PUBLIC:
            continue
        if child.kind in (ci.CursorKind.CXX_METHOD, ci.CursorKind.FUNCTION_TEMPLATE,
                          ci.CursorKind.USING_DECLARATION):
            yield child


def base_classes(cls):
    for child in cls.get_children():
        if child.kind == ci.CursorKind.CXX_BASE_SPECIFIER:
            decl = child.type.get_canonical().get_declaration()
            if decl is not None and decl.kind != ci.CursorKind.NO_DECL_FOUND:
                yield decl.get_definition() or decl


def methods_named(cls, name, seen=None):
    """Public methods called name of cls, else of its nearest bases that declare it."""
    found = [c for c in cls.get_children() if c.kind == ci.CursorKind.CXX_METHOD and c.spelling == name
             and c.access_specifier == ci.AccessSpecifier.PUBLIC]
    if found:
        return found
    for base in base_classes(cls):
        found = methods_named(base, name)
        if found:
            return found
    return []


def is_deleted(cursor):
    tokens = [t.spelling for t in cursor.get_tokens()]
    return len(tokens) >= 3 and tokens[-2:] == ["=", "delete"] or "delete" in tokens[-3:] and "=" in tokens[-4:]


def has_default(param):
    return any(child.kind.is_expression() for child in param.get_children())


def collect(row, classifier, skips):
    """OrderedDict name -> [Overload] for the class of row."""
    methods = OrderedDict()
    cls = row.cursor

    def add(cursor, reason):
        methods.setdefault(cursor.spelling, []).append(Overload(cursor, row, reason))

    for member in public_members(cls):
        name = member.spelling
        if member.kind == ci.CursorKind.USING_DECLARATION:
            base = None
            for child in member.get_children():
                if child.kind == ci.CursorKind.TYPE_REF:
                    base = child.referenced
            if base is None or name.startswith("operator"):
                continue
            base = base.get_definition() or base
            for cursor in methods_named(base, name):
                add(cursor, None)
            continue
        if name.startswith("operator"):
            add(member, "an operator")
            continue
        if member.kind == ci.CursorKind.FUNCTION_TEMPLATE:
            add(member, "a function template")
            continue
        add(member, None)

    key = row.lua_name
    for name, overloads in methods.items():
        for o in overloads:
            if o.reason:
                continue
            skip = skips.get("%s:%s" % (key, name)) or skips.get("%s:%s" % (row.cpp, name))
            if skip:
                o.reason = skip
                continue
            c = o.cursor
            if is_deleted(c):
                o.reason = "deleted"
                continue
            if c.type.is_function_variadic():
                o.reason = "takes a variable count of arguments"
                continue
            reason = classifier.result(c.result_type)
            if reason is None:
                for param in c.get_arguments():
                    reason = classifier.argument(param.type)
                    if reason:
                        break
            o.reason = reason
    return methods


def signature_types(cursor):
    return [p.type.get_canonical().spelling for p in cursor.get_arguments()]


def member_pointer(cursor, cls_name):
    """The exact overload, as a pointer of the class that declares it."""
    result = cursor.result_type.get_canonical().spelling
    params = ", ".join(signature_types(cursor))
    if cursor.is_static_method():
        return "static_cast<%s (*)(%s)>(&%s::%s)" % (result, params, cls_name, cursor.spelling)
    const = " const" if cursor.is_const_method() else ""
    return "static_cast<%s (%s::*)(%s)%s>(&%s::%s)" % (result, cls_name, params, const, cls_name, cursor.spelling)


def ident(text):
    return re.sub(r"[^A-Za-z0-9_]", "_", text)


def generate_module(folder, stem, rows, classifier, skips, root):
    headers = set()
    adapters = []
    tables = []
    declared = []
    bound_count = 0
    for row in rows:
        methods = collect(row, classifier, skips)
        headers.add(header_of(row.cursor, root))
        forms_by_name = []
        for name, overloads in methods.items():
            forms = []
            for o in overloads:
                if o.reason:
                    continue
                c = o.cursor
                headers.add(header_of(c, root))
                type_headers(c.result_type, root, headers)
                for p in c.get_arguments():
                    type_headers(p.type, root, headers)
                params = list(c.get_arguments())
                static = c.is_static_method()
                owner = qualified(c.semantic_parent)
                pointer = member_pointer(c, "::" + owner)
                wrap = "classFunction" if static else "method"
                if owner != row.cpp and not static:
                    # Brought in by a using-declaration: bound through the row's class.
                    forms.append((len(params), "methodOf<::%s, %s>()" % (row.cpp, pointer)))
                else:
                    forms.append((len(params), "%s<%s>()" % (wrap, pointer)))
                first_default = len(params)
                while first_default > 0 and has_default(params[first_default - 1]):
                    first_default -= 1
                for count in range(first_default, len(params)):
                    fn = "%s_%s_%d_%d" % (ident(row.lua_name), ident(name), len(adapters), count)
                    types = signature_types(c)[:count]
                    result = c.result_type.get_canonical().spelling
                    decl_params = ["%s a%d" % (t, i) for i, t in enumerate(types)]
                    call_args = ", ".join("a%d" % i for i in range(count))
                    if static:
                        body = "return ::%s::%s(%s);" % (owner, name, call_args)
                        adapters.append("%s %s(%s) { %s }" % (result, fn, ", ".join(decl_params), body))
                    else:
                        decl_params.insert(0, "::%s* self" % row.cpp)
                        body = "return self->%s(%s);" % (name, call_args)
                        adapters.append("%s %s(%s) { %s }" % (result, fn, ", ".join(decl_params), body))
                    forms.append((count, "%s<&%s>()" % (wrap, fn)))
            reasons = [o.reason for o in overloads if o.reason]
            if forms:
                forms.sort(key=lambda f: f[0])
                forms_by_name.append((name, [f[1] for f in forms]))
                declared.append((row.lua_name, name, None))
                bound_count += 1
            else:
                declared.append((row.lua_name, name, reasons[0]))
        tables.append((row, forms_by_name))

    out = []
    out.append("// Generated by tools/bindgen/bindgen.py from the engine headers: do not edit.")
    out.append("// To add a class or a method, see tools/bindgen/README.md.")
    out.append('#include "bindings/LuaGenerated.h"')
    out.append("")
    for h in sorted(headers):
        out.append('#include "%s"' % h)
    out.append("")
    out.append("namespace bindings {")
    out.append("")
    out.append("namespace {")
    out.append("")
    out.append("// Shorter forms: the engine fills in the default arguments.")
    out.extend(adapters)
    out.append("")
    entries = []
    for row, forms_by_name in tables:
        if not forms_by_name:
            continue
        array = "k%sMethods" % ident(row.lua_name.replace(".", "_"))
        out.append("const Method %s[] = {" % array)
        for name, forms in forms_by_name:
            out.append('    {"%s", {%s}},' % (name, ", ".join(forms)))
        out.append("};")
        entries.append((row.lua_name, array))
    out.append("")
    out.append("// By Lua name, for the registration's lookup.")
    out.append("const GeneratedClass kClasses[] = {")
    seen = set()
    for lua_name, array in sorted(entries):
        if lua_name in seen:
            continue
        seen.add(lua_name)
        out.append('    {"%s", %s},' % (lua_name, array))
    out.append("};")
    out.append("")
    out.append("const DeclaredMethod kDeclared[] = {")
    for lua_name, name, reason in declared:
        if reason is None:
            out.append('    {"%s", "%s", nullptr},' % (lua_name, name))
        else:
            out.append('    {"%s", "%s", "%s"},' % (lua_name, name, reason.replace("\\", "\\\\").replace('"', '\\"')))
    out.append("};")
    out.append("")
    out.append("}  // namespace")
    out.append("")
    out.append("GeneratedTable %sGeneratedTable() { return {kClasses, kDeclared}; }" % lower_first(stem))
    out.append("")
    out.append("}  // namespace bindings")
    return "\n".join(out) + "\n", declared


def lower_first(stem):
    return stem[0].lower() + stem[1:]


def generate_index():
    out = ["// Generated by tools/bindgen/bindgen.py: the modules with generated rows.",
           '#include "bindings/LuaGenerated.h"', "", "namespace bindings {", ""]
    out.append("std::span<const GeneratedTable> generatedTables() {")
    out.append("    static const GeneratedTable kTables[] = {")
    for _, stem in MODULES:
        out.append("        %sGeneratedTable()," % lower_first(stem))
    out.append("    };")
    out.append("    return kTables;")
    out.append("}")
    out.append("")
    out.append("}  // namespace bindings")
    decls = ["GeneratedTable %sGeneratedTable();" % lower_first(stem) for _, stem in MODULES]
    text = "\n".join(out[:4] + decls + [""] + out[4:]) + "\n"
    return text


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--unbound", action="store_true")
    parser.add_argument("--root", default=os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
    options = parser.parse_args()
    root = os.path.abspath(options.root)
    args = clang_args(root)
    index = ci.Index.create()
    skips = load_skips(os.path.join(root, "tools", "bindgen", "skip.txt"))

    classes, unit = engine_classes(index, args, root)
    module_rows = []
    registered = {}
    for folder, stem in MODULES:
        directory = os.path.join(root, "bindings", folder)
        files = sorted(os.path.join(directory, f) for f in os.listdir(directory)
                       if f.endswith(".cpp") and not f.endswith("Generated.cpp"))
        rows = []
        for lua_name, cursor in find_class_rows(files, classes):
            row = ClassRow(lua_name, cursor)
            rows.append(row)
            registered.setdefault(row.cpp, lua_name)
        module_rows.append((folder, stem, rows))
    # Classes registered by the other folders (network, deprecated) are objects scripts know too.
    for folder in sorted(os.listdir(os.path.join(root, "bindings"))):
        if folder in [m[0] for m in MODULES] or not os.path.isdir(os.path.join(root, "bindings", folder)):
            continue
        directory = os.path.join(root, "bindings", folder)
        files = sorted(os.path.join(directory, f) for f in os.listdir(directory) if f.endswith(".cpp"))
        for lua_name, cursor in find_class_rows(files, classes):
            registered.setdefault(qualified(cursor), lua_name)

    classifier = TypeClassifier(registered)
    outputs = {}
    unbound = []
    for folder, stem, rows in module_rows:
        text, declared = generate_module(folder, stem, rows, classifier, skips, root)
        outputs[os.path.join(root, "bindings", folder, stem + "Generated.cpp")] = text
        unbound.extend(d for d in declared if d[2])
    outputs[os.path.join(root, "bindings", "LuaGeneratedIndex.cpp")] = generate_index()

    if options.unbound:
        for lua_name, name, reason in unbound:
            print("%s:%s\t%s" % (lua_name, name, reason))
    stale = []
    for path, text in sorted(outputs.items()):
        current = open(path).read() if os.path.exists(path) else None
        if current == text:
            continue
        if options.check:
            stale.append(os.path.relpath(path, root))
        else:
            with open(path, "w") as f:
                f.write(text)
    if stale:
        print("bindgen: stale generated files (run tools/bindgen/bindgen.py): " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

-- luacheck settings for the scripts kept in the program (host/app/scripts) and the
-- stand-in game modules of the tests (tests/host/fixtures). Lua 5.1, as the game's.
std = "lua51"
max_line_length = 120

-- Globals the scripts replace or extend.
globals = {
    "require",
    "cc",
    "__G__TRACKBACK__",
}

-- Globals the engine, the portal and the game provide.
read_globals = {
    "ccexp",
    "ccui",
    "release_print",
    "vexo_native",
    "vexoOnMemoryWarning",
}

-- Client fixes, run once when the scripts start (installClientFixes passes the
-- portal root, "https://host[:port]" without a trailing "/", as the one argument).
--  1. wraps require: each module below is handled once, on its first require;
--     one that does not fit is returned untouched ("CLIENT_FIX skip <name>"), and a
--     patch that fails is logged, never raised through require;
--  2. keeps the known faulty resource prefetcher from loading: when the downloaded
--     copy has its digest, the fixed one preloaded by the host takes its place,
--     also for every require after its package.loaded entry is cleared;
--  3. adds the account and support buttons, remembers the role a game was entered
--     with, and opens support through the portal's single sign-on.
-- Log lines go to the game's debug log (release_print) with the prefix "CLIENT_FIX ".

local PORTAL_ROOT = ...
assert(type(PORTAL_ROOT) == "string" and PORTAL_ROOT ~= "", "ClientFix.lua needs the portal root")

-- The game's modules, as far as these fixes rely on them (nothing else is assumed):
--   GameCore, pelmora.GameFrame, cc.Scheduler: the ANR fix's (not patched here).
--   pelmora.StreamPrefetch: the game calls new(ctx); ctx: fu (cc.FileUtils), root,
--     WP, FILES (each ending "/"), queue {list, pending, active, pump}, MAXA,
--     invalid (set of paths), optional panel (setText, setVisible). A queued item is
--     {path, url, dest, md5, onDone(ok, permanent)}, called back on the main thread.
--   game.baner.BanerView (first instance), game.set.SetSkinB (each): class tables
--     whose ctor(self, ...) builds self.root, a node; the enter button is root's
--     child "btnEnter", the note root's label "note".
--   game.baner.BanerCommand: changeAccount(), customerService() (replaced),
--     onEnterGame(role) (wrapped; role {id, name, level}), getAccount() -> {uid,
--     sign, serverId} or nil, showWaiting(on).
--   game.set.SonMai: GOLD, a colour {r, g, b}.
local GAME = {
    prefetch = { name = "pelmora.StreamPrefetch" },
    banerView = { name = "game.baner.BanerView", fields = { ctor = "function" } },
    banerCommand = {
        name = "game.baner.BanerCommand",
        fields = {
            changeAccount = "function", customerService = "function", onEnterGame = "function",
            getAccount = "function", showWaiting = "function",
        },
    },
    setSkin = { name = "game.set.SetSkinB", fields = { ctor = "function" } },
    skin = { name = "game.set.SonMai", fields = { GOLD = "table" } },
    enterButton = "btnEnter",
    note = "note",
}

local FAULTY_PREFETCH_MD5 = "a21e30ba1c61c38c364c8ab793349e6e"
local FAULTY_PREFETCH_FILE = "auc/Resources/skin/pelmora/StreamPrefetch.luac"
local FIXED_PREFETCH = "vexo_native_fixed_prefetch_1011"

local SUPPORT_ENDPOINT = PORTAL_ROOT .. "/account/gamepay_url.php"
local SUPPORT_PAGE = PORTAL_ROOT .. "/report.shtml"
local SUPPORT_TIMEOUT = 20           -- seconds, on the engine's scheduler
local ROLE_KEY = "vexo_native_support_role_"
local BRIDGE_CLASS = "com/game/platform/PlatformPavrel"

local NOTE_TEXT = "Mục có khóa dành cho chủ tài khoản; khách vẫn chơi, nhận Phúc Lợi và tiêu KNB."
local FRAME_IMAGE = "sudoku/sudoku57.png"
local ICON_IMAGE = "newHomeUI/1.png"
local FONT = "Arial"

if type(cc) == "table" and cc.exports == nil then
    cc.exports = {}
end

local previousRequire = require

local function log(text)
    local out = release_print or print
    pcall(out, "CLIENT_FIX " .. text)
end

-- Runs fn(...) protected; an error is logged under what.
local function guarded(what, fn, ...)
    local ok, err = pcall(fn, ...)
    if not ok then
        log(what .. " failed: " .. tostring(err))
    end
    return ok
end

local function fits(module, spec)
    if type(module) ~= "table" then
        return false
    end
    for field, kind in pairs(spec.fields or {}) do
        if type(module[field]) ~= kind then
            return false
        end
    end
    return true
end

-- Makes Class.ctor call decorate(self) once the game's own ctor has returned.
local function decorateAfterCtor(Class, decorate)
    local ctor = Class.ctor
    local function handOn(self, ...)
        decorate(self)
        return ...
    end
    Class.ctor = function(self, ...)
        return handOn(self, ctor(self, ...))
    end
end

local function cjson()
    local ok, module = pcall(previousRequire, "cjson")
    if ok and type(module) == "table" then
        return module
    end
    error("cjson is not available")
end

---------------------------------------------------------------------------------
-- Opening pages: the portal's web window through the native bridge; the support
-- page in the browser when the bridge cannot be called.

local function openPortal(url, target)
    if type(vexo_native) == "function" then
        local ok, answer = pcall(vexo_native, BRIDGE_CLASS, "openPayWebView", { url, target })
        if ok then
            log("opened " .. (url == SUPPORT_PAGE and "support page" or "support link") .. ": " .. tostring(answer))
            return
        end
        log("bridge failed: " .. tostring(answer))
    end
    guarded("browser", function()
        cc.Application:getInstance():openURL(SUPPORT_PAGE)
        log("support page opened in the browser")
    end)
end

---------------------------------------------------------------------------------
-- The role a game was entered with, remembered per account and server.

local currentRole = nil   -- {uid, serverId, id, name, level}

local function userDefault()
    return cc.UserDefault:getInstance()
end

local function roleKey(uid, serverId)
    return ROLE_KEY .. tostring(uid) .. "_" .. tostring(serverId)
end

local function account(command)
    if not command then
        return nil
    end
    local ok, value = pcall(command.getAccount)
    if not ok or type(value) ~= "table" or value.uid == nil or value.sign == nil or value.serverId == nil
            or tostring(value.uid) == "" or tostring(value.sign) == "" or tostring(value.serverId) == "" then
        return nil
    end
    return value
end

local function saveRole(command, role)
    if type(role) ~= "table" or role.id == nil then
        return
    end
    local owner = account(command)
    if not owner then
        return
    end
    currentRole = { uid = owner.uid, serverId = owner.serverId, id = role.id, name = role.name, level = role.level }
    local text = cjson().encode({ id = role.id, name = role.name, level = role.level })
    local store = userDefault()
    store:setStringForKey(roleKey(owner.uid, owner.serverId), text)
    store:flush()
end

-- The current role when it belongs to the account, else the one saved for it.
local function roleOf(owner)
    if currentRole and tostring(currentRole.uid) == tostring(owner.uid)
            and tostring(currentRole.serverId) == tostring(owner.serverId) then
        return currentRole
    end
    local ok, role = pcall(function()
        local text = userDefault():getStringForKey(roleKey(owner.uid, owner.serverId))
        if type(text) ~= "string" or text == "" then
            return nil
        end
        return cjson().decode(text)
    end)
    if ok and type(role) == "table" and role.id ~= nil then
        return role
    end
    return nil
end

---------------------------------------------------------------------------------
-- Support: one request at a time, one outcome each.

local pending = nil   -- the request under way: {command, xhr, timer}

local function encodeValue(value)
    return (tostring(value == nil and "" or value):gsub("[^%w%-%._~]", function(c)
        return string.format("%%%02X", c:byte())
    end))
end

local function formBody(fields)
    local parts = {}
    for _, field in ipairs(fields) do
        parts[#parts + 1] = field[1] .. "=" .. encodeValue(field[2])
    end
    return table.concat(parts, "&")
end

local function showWaiting(command, on)
    guarded("waiting indicator", command.showWaiting, on)
end

-- The single sign-on link of a reply, or nil: HTTP 200, a JSON object with status
-- 0 and a url on the portal host whose path holds the login page's data query.
local function replyLink(xhr)
    if xhr.status ~= 200 then
        return nil
    end
    local ok, reply = pcall(cjson().decode, xhr.responseText)
    if not ok or type(reply) ~= "table" or reply.status ~= 0 or type(reply.url) ~= "string" then
        return nil
    end
    local url = reply.url
    local home = PORTAL_ROOT .. "/"
    if url:sub(1, #home) ~= home or url:find("[%s%c]") or not url:find("login%.php%?data=", #home + 1) then
        return nil
    end
    return url
end

local function finish(request, link, why)
    if pending ~= request then
        return
    end
    pending = nil
    if request.timer then
        guarded("timer", function()
            cc.Director:getInstance():getScheduler():unscheduleScriptEntry(request.timer)
        end)
    end
    if request.xhr and not link then
        pcall(request.xhr.abort, request.xhr)
    end
    showWaiting(request.command, false)
    log("support " .. why)
    if link then
        openPortal(link, "__support")
    else
        openPortal(SUPPORT_PAGE, "")
    end
end

local function openSupport()
    if pending then
        log("support already waiting for the portal")
        return
    end
    local command = package.loaded[GAME.banerCommand.name]
    if not fits(command, GAME.banerCommand) then
        command = nil
    end
    local owner = account(command)
    local role = owner and roleOf(owner)
    if not role then
        log("support without account data")
        openPortal(SUPPORT_PAGE, "")
        return
    end

    local request = { command = command }
    pending = request
    showWaiting(command, true)
    local ok, err = pcall(function()
        local xhr = cc.XMLHttpRequest:new()
        request.xhr = xhr
        xhr:open("POST", SUPPORT_ENDPOINT)
        xhr:setRequestHeader("Content-Type", "application/x-www-form-urlencoded")
        xhr:registerScriptHandler(function()
            local checked, link = pcall(replyLink, xhr)
            if checked and link then
                finish(request, link, "link received")
            else
                finish(request, nil, "reply refused (status " .. tostring(xhr.status) .. ")")
            end
        end)
        request.timer = cc.Director:getInstance():getScheduler():scheduleScriptFunc(function()
            finish(request, nil, "timed out")
        end, SUPPORT_TIMEOUT, false)
        xhr:send(formBody({
            { "uid", owner.uid }, { "sign", owner.sign }, { "server", owner.serverId },
            { "roleId", role.id }, { "roleName", role.name }, { "roleLevel", role.level },
        }))
    end)
    if not ok then
        finish(request, nil, "request failed: " .. tostring(err))
    end
end

---------------------------------------------------------------------------------
-- Buttons: a touchable layout drawn with the game's skin.

local FALLBACK_GOLD = { r = 255, g = 214, b = 120 }
local skinSkipped = false

local function gold()
    local ok, skin = pcall(require, GAME.skin.name)
    if ok and fits(skin, GAME.skin) then
        return skin.GOLD
    end
    if not skinSkipped then
        skinSkipped = true
        log("skip " .. GAME.skin.name)
    end
    return FALLBACK_GOLD
end

local function bounce(button, kind)
    button:stopAllActions()
    if kind == 0 then
        button:runAction(cc.ScaleTo:create(0.05, 0.94))
    elseif kind == 2 or kind == 3 then
        button:runAction(cc.Sequence:create(cc.ScaleTo:create(0.06, 1.06), cc.ScaleTo:create(0.06, 1)))
    end
end

-- spec: {text, width, height, x, y, action}; added to parent, centred on (x, y).
local function addButton(parent, spec)
    local w, h = spec.width, spec.height
    local button = ccui.Layout:create()
    button:setContentSize({ width = w, height = h })
    button:setAnchorPoint({ x = 0.5, y = 0.5 })
    button:setPosition({ x = spec.x, y = spec.y })
    button:setTouchEnabled(true)

    local frame = ccui.Scale9Sprite:create(FRAME_IMAGE)
    if frame then
        local scale = h < 64 and 0.6 or 1
        frame:setAnchorPoint({ x = 0.5, y = 0.5 })
        frame:setContentSize({ width = w / scale, height = h / scale })
        frame:setScale(scale)
        frame:setPosition({ x = w / 2, y = h / 2 })
        button:addChild(frame)
    end

    local fill = cc.LayerColor:create({ r = 26, g = 19, b = 17, a = 235 }, w - 24, h - 24)
    fill:setPosition({ x = 12, y = 12 })
    button:addChild(fill)

    local colour = gold()
    local label = cc.Label:createWithSystemFont(spec.text, FONT, h < 60 and 25 or 29)
    label:setTextColor({ r = colour.r, g = colour.g, b = colour.b, a = 255 })
    label:enableOutline({ r = 40, g = 16, b = 6, a = 255 }, 2)
    label:setAnchorPoint({ x = 0.5, y = 0.5 })
    label:setPosition({ x = w / 2, y = h / 2 })
    button:addChild(label)

    if h >= 64 then
        for _, x in ipairs({ 30, w - 30 }) do
            local icon = cc.Sprite:create(ICON_IMAGE)
            if icon then
                icon:setScale(0.24)
                icon:setPosition({ x = x, y = h / 2 })
                button:addChild(icon)
            end
        end
    end

    button:addTouchEventListener(function(_, kind)
        guarded("button touch", bounce, button, kind)
    end)
    button:addClickEventListener(function()
        guarded(spec.text, spec.action)
    end)
    parent:addChild(button)
    return button
end

local function positionOf(node)
    local p, y = node:getPosition()
    if type(p) == "table" then
        return p.x, p.y
    end
    return p, y
end

local function changeAccount()
    local command = package.loaded[GAME.banerCommand.name]
    if type(command) ~= "table" or type(command.changeAccount) ~= "function" then
        error("no " .. GAME.banerCommand.name)
    end
    command.changeAccount()
end

---------------------------------------------------------------------------------
-- The patches, each given a module that fits.

local patches = {}

patches[GAME.banerView.name] = function(View)
    local decorated = false
    local function decorate(self)
        if decorated then
            return
        end
        decorated = true
        guarded("BanerView buttons", function()
            local root = self.root
            local enter = root:getChildByName(GAME.enterButton)
            local y = -282
            if enter then
                local _, enterY = positionOf(enter)
                y = enterY - 110
            end
            addButton(root, { text = "Đổi Tài Khoản", width = 286, height = 78, x = -150, y = y,
                              action = changeAccount })
            addButton(root, { text = "Liên Hệ AD", width = 286, height = 78, x = 150, y = y,
                              action = openSupport })
        end)
    end
    decorateAfterCtor(View, decorate)
end

patches[GAME.setSkin.name] = function(Box)
    local function decorate(self)
        guarded("SetSkinB note", function()
            local note = self.root:getChildByName(GAME.note)
            if note then
                note:setString(NOTE_TEXT)
                note:setSystemFontSize(14)
                local x = positionOf(note)
                note:setPosition({ x = x, y = 86 })
            end
        end)
        guarded("SetSkinB button", function()
            addButton(self.root, { text = "Liên Hệ AD", width = 300, height = 56, x = 0, y = -441,
                                   action = openSupport })
        end)
    end
    decorateAfterCtor(Box, decorate)
end

patches[GAME.banerCommand.name] = function(Command)
    Command.customerService = function()
        openSupport()
    end
    local onEnterGame = Command.onEnterGame
    Command.onEnterGame = function(...)
        local first, second = ...
        local role = first
        if first == Command then
            role = second
        end
        local function remember(...)
            if (...) ~= false then
                guarded("role save", saveRole, Command, role)
            end
            return ...
        end
        return remember(onEnterGame(...))
    end
end

---------------------------------------------------------------------------------
-- require

local handled = {}

local function writablePath()
    local path = cc.FileUtils:getInstance():getWritablePath()
    return type(path) == "string" and path or ""
end

-- The fixed prefetcher's loader, once it has taken the faulty one's place: every
-- later require of the prefetcher (after package.loaded[name] = nil) runs it again.
local fixedPrefetchLoader = nil

-- The prefetcher, hashed before it loads: the faulty chunk never runs.
local function requirePrefetch(name, ...)
    if fixedPrefetchLoader then
        local module = fixedPrefetchLoader(FIXED_PREFETCH)
        if module == nil then
            module = true
        end
        return module
    end
    local digest = nil
    local fixes = type(cc) == "table" and cc.VEXOClientFixes
    local hashFile = type(fixes) == "table" and fixes.hashFile
    if type(hashFile) == "function" then
        local ok, value = pcall(function()
            return hashFile(writablePath() .. FAULTY_PREFETCH_FILE)
        end)
        if ok and type(value) == "string" then
            digest = value
        elseif not ok then
            log("prefetcher check failed: " .. tostring(value))
        end
    end
    if digest and digest:lower() == FAULTY_PREFETCH_MD5 then
        local loader = type(package.preload) == "table" and package.preload[FIXED_PREFETCH]
        local ok, fixed = false, "no loader for " .. FIXED_PREFETCH
        if type(loader) == "function" then
            ok, fixed = pcall(loader, FIXED_PREFETCH)
        end
        if ok and type(fixed) == "table" then
            fixedPrefetchLoader = loader
            log("Store1011 checked invalidation + Windows absolute scan active")
            return fixed
        end
        log("fixed prefetcher unavailable: " .. tostring(fixed))
    end
    return previousRequire(name, ...)
end

local specs = {}
for _, spec in pairs(GAME) do
    if type(spec) == "table" and (patches[spec.name] or spec == GAME.prefetch) then
        specs[spec.name] = spec
    end
end

require = function(name, ...)
    local spec = specs[name]
    if not spec then
        return previousRequire(name, ...)
    end
    if handled[name] then
        local stored = package.loaded[name]
        if stored ~= nil then
            return stored
        end
        if spec == GAME.prefetch and fixedPrefetchLoader then
            stored = requirePrefetch(name, ...)
            package.loaded[name] = stored
            return stored
        end
        return previousRequire(name, ...)
    end
    local module
    if spec == GAME.prefetch then
        module = requirePrefetch(name, ...)
        handled[name] = true
    else
        module = previousRequire(name, ...)
        handled[name] = true
        if fits(module, spec) then
            guarded("patch " .. name, patches[name], module)
        else
            log("skip " .. name)
        end
    end
    if module ~= nil then
        package.loaded[name] = module
    end
    return module
end

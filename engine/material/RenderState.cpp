#include "engine/material/RenderState.h"

#include <cstring>
#include <utility>

#include "engine/base/Log.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/Texture2D.h"

namespace engine {

namespace {

bool parseFlag(const std::string& value, bool* out) {
    if (value == "true") *out = true;
    else if (value == "false") *out = false;
    else return false;
    return true;
}

struct NamedValue {
    const char* name;
    uint32_t value;
};

const NamedValue kBlendFactors[] = {
    {"ZERO", GL_ZERO}, {"ONE", GL_ONE}, {"SRC_COLOR", GL_SRC_COLOR}, {"ONE_MINUS_SRC_COLOR", GL_ONE_MINUS_SRC_COLOR},
    {"DST_COLOR", GL_DST_COLOR}, {"ONE_MINUS_DST_COLOR", GL_ONE_MINUS_DST_COLOR}, {"SRC_ALPHA", GL_SRC_ALPHA},
    {"ONE_MINUS_SRC_ALPHA", GL_ONE_MINUS_SRC_ALPHA}, {"DST_ALPHA", GL_DST_ALPHA},
    {"ONE_MINUS_DST_ALPHA", GL_ONE_MINUS_DST_ALPHA}, {"CONSTANT_ALPHA", GL_CONSTANT_ALPHA},
    {"ONE_MINUS_CONSTANT_ALPHA", GL_ONE_MINUS_CONSTANT_ALPHA}, {"SRC_ALPHA_SATURATE", GL_SRC_ALPHA_SATURATE},
};
const NamedValue kCullSides[] = {{"BACK", GL_BACK}, {"FRONT", GL_FRONT}, {"FRONT_AND_BACK", GL_FRONT_AND_BACK}};
const NamedValue kWindings[] = {{"CW", GL_CW}, {"CCW", GL_CCW}};
const NamedValue kDepthFunctions[] = {
    {"NEVER", GL_NEVER},     {"LESS", GL_LESS},         {"EQUAL", GL_EQUAL},   {"LEQUAL", GL_LEQUAL},
    {"GREATER", GL_GREATER}, {"NOTEQUAL", GL_NOTEQUAL}, {"GEQUAL", GL_GEQUAL}, {"ALWAYS", GL_ALWAYS},
};

template <size_t N>
bool lookup(const NamedValue (&table)[N], const std::string& name, uint32_t* out) {
    for (const NamedValue& entry : table) {
        if (name == entry.name) {
            *out = entry.value;
            return true;
        }
    }
    return false;
}

}  // namespace

// ---- StateBlock ----

RenderState::StateBlock* RenderState::StateBlock::create() { return autoreleased(new StateBlock); }

RenderState::StateBlock& RenderState::StateBlock::operator=(const StateBlock& other) {
    // The reference count is the object's own: only the states are copied.
    _bits = other._bits;
    _blend = other._blend;
    _blendFunc = other._blendFunc;
    _cullFace = other._cullFace;
    _cullFaceSide = other._cullFaceSide;
    _frontFace = other._frontFace;
    _depthTest = other._depthTest;
    _depthWrite = other._depthWrite;
    _depthFunction = other._depthFunction;
    return *this;
}

void RenderState::StateBlock::setBlend(bool enabled) { give(_blend, enabled, RS_BLEND); }

void RenderState::StateBlock::setBlendFunc(const BlendFunc& blendFunc) { give(_blendFunc, blendFunc, RS_BLEND_FUNC); }

void RenderState::StateBlock::setBlendSrc(uint32_t factor) { setBlendFunc({factor, _blendFunc.dst}); }
void RenderState::StateBlock::setBlendDst(uint32_t factor) { setBlendFunc({_blendFunc.src, factor}); }

void RenderState::StateBlock::setCullFace(bool enabled) { give(_cullFace, enabled, RS_CULL_FACE); }

void RenderState::StateBlock::setCullFaceSide(CullFaceSide side) { give(_cullFaceSide, side, RS_CULL_FACE_SIDE); }

void RenderState::StateBlock::setFrontFace(FrontFace winding) { give(_frontFace, winding, RS_FRONT_FACE); }

void RenderState::StateBlock::setDepthTest(bool enabled) { give(_depthTest, enabled, RS_DEPTH_TEST); }

void RenderState::StateBlock::setDepthWrite(bool enabled) { give(_depthWrite, enabled, RS_DEPTH_WRITE); }

void RenderState::StateBlock::setDepthFunction(DepthFunction function) {
    give(_depthFunction, function, RS_DEPTH_FUNC);
}

void RenderState::StateBlock::setState(const std::string& name, const std::string& value) {
    bool flag = false;
    uint32_t number = 0;
    bool known = true;
    if (name == "blend") known = parseFlag(value, &flag) && (setBlend(flag), true);
    else if (name == "blendSrc") known = lookup(kBlendFactors, value, &number) && (setBlendSrc(number), true);
    else if (name == "blendDst") known = lookup(kBlendFactors, value, &number) && (setBlendDst(number), true);
    else if (name == "cullFace") known = parseFlag(value, &flag) && (setCullFace(flag), true);
    else if (name == "cullFaceSide")
        known = lookup(kCullSides, value, &number) && (setCullFaceSide(static_cast<CullFaceSide>(number)), true);
    else if (name == "frontFace")
        known = lookup(kWindings, value, &number) && (setFrontFace(static_cast<FrontFace>(number)), true);
    else if (name == "depthTest") known = parseFlag(value, &flag) && (setDepthTest(flag), true);
    else if (name == "depthWrite") known = parseFlag(value, &flag) && (setDepthWrite(flag), true);
    else if (name == "depthFunc")
        known = lookup(kDepthFunctions, value, &number) && (setDepthFunction(static_cast<DepthFunction>(number)), true);
    else known = false;
    if (!known) log("RenderState: unknown state %s = %s", name.c_str(), value.c_str());
}

void RenderState::StateBlock::cloneInto(StateBlock* other) const { *other = *this; }

void RenderState::StateBlock::bind() const {
    const StateBlock* self = this;
    bind(&self, 1);
}

void RenderState::StateBlock::bind(const StateBlock* const* levels, int count) {
    static const StateBlock kDefaults;
    auto decide = [&](Bit bit) -> const StateBlock& {
        for (int i = 0; i < count; ++i) {
            if (levels[i] && (levels[i]->_bits & bit)) return *levels[i];
        }
        return kDefaults;
    };
    const GLFunctions& gl = GL::fn();
    // Blending goes through the state cache, which turns it off for (ONE, ZERO).
    if (decide(RS_BLEND)._blend) {
        const BlendFunc& blend = decide(RS_BLEND_FUNC)._blendFunc;
        GL::blendFunc(blend.src, blend.dst);
    } else {
        GL::blendFunc(GL_ONE, GL_ZERO);
    }
    if (decide(RS_CULL_FACE)._cullFace) gl.enable(GL_CULL_FACE);
    else gl.disable(GL_CULL_FACE);
    gl.cullFace(static_cast<GLenum>(decide(RS_CULL_FACE_SIDE)._cullFaceSide));
    gl.frontFace(static_cast<GLenum>(decide(RS_FRONT_FACE)._frontFace));
    if (decide(RS_DEPTH_TEST)._depthTest) gl.enable(GL_DEPTH_TEST);
    else gl.disable(GL_DEPTH_TEST);
    gl.depthMask(decide(RS_DEPTH_WRITE)._depthWrite ? GL_TRUE : GL_FALSE);
    gl.depthFunc(static_cast<GLenum>(decide(RS_DEPTH_FUNC)._depthFunction));
}

// ---- RenderState ----

RenderState::~RenderState() {
    if (_state) _state->release();
    if (_texture) _texture->release();
}

RenderState::StateBlock* RenderState::getStateBlock() {
    if (!_state) {
        _state = new StateBlock;
    }
    return _state;
}

void RenderState::setStateBlock(StateBlock* block) { assignRetained(_state, block); }

void RenderState::setTexture(Texture2D* texture) { assignRetained(_texture, texture); }

void RenderState::cloneInto(RenderState* other) const {
    if (_state) {
        StateBlock* copy = StateBlock::create();
        _state->cloneInto(copy);
        other->setStateBlock(copy);
    }
    other->setTexture(_texture);
    other->_name = _name;
}

}  // namespace engine

#pragma once
// GL state of 3D drawing in three levels: a material, its techniques, their
// passes. Each level may hold a state block; a block sets only the states it
// was given (blending and its factors, face culling and its side, the front
// face's winding, depth test, depth writes and their function). A pass binds the
// states of its own block, then of its technique's, then of its material's, the
// first level that set a state deciding it; a state no level set takes its GL
// default (blending off, culling off on the back face, counter-clockwise front,
// depth test off, depth writes on, depth function LESS). The level also holds a
// texture (retained) its pass draws with. Main thread only.
#include <cstdint>
#include <string>

#include "engine/base/Ref.h"
#include "engine/renderer/RenderRecords.h"

namespace engine {

class Texture2D;

class RenderState : public Ref {
public:
    // GL values, as scripts give them.
    enum class CullFaceSide : uint32_t { BACK = 0x0405, FRONT = 0x0404, FRONT_AND_BACK = 0x0408 };
    enum class FrontFace : uint32_t { CLOCK_WISE = 0x0900, COUNTER_CLOCK_WISE = 0x0901 };
    enum class DepthFunction : uint32_t {
        NEVER = 0x0200, LESS = 0x0201, EQUAL = 0x0202, LEQUAL = 0x0203,
        GREATER = 0x0204, NOTEQUAL = 0x0205, GEQUAL = 0x0206, ALWAYS = 0x0207
    };

    class StateBlock : public Ref {
    public:
        // Which states a block was given, one bit each.
        enum Bit : uint32_t {
            RS_BLEND = 1, RS_BLEND_FUNC = 2, RS_CULL_FACE = 4, RS_DEPTH_TEST = 8, RS_DEPTH_WRITE = 16,
            RS_DEPTH_FUNC = 32, RS_CULL_FACE_SIDE = 64, RS_FRONT_FACE = 128, RS_ALL_ONES = 0xFF
        };

        static StateBlock* create();   // autoreleased, sets nothing

        void setBlend(bool enabled);
        bool isBlend() const { return _blend; }
        void setBlendFunc(const BlendFunc& blendFunc);
        void setBlendSrc(uint32_t factor);
        void setBlendDst(uint32_t factor);
        const BlendFunc& getBlendFunc() const { return _blendFunc; }
        void setCullFace(bool enabled);
        bool isCullFace() const { return _cullFace; }
        void setCullFaceSide(CullFaceSide side);
        CullFaceSide getCullFaceSide() const { return _cullFaceSide; }
        void setFrontFace(FrontFace winding);
        FrontFace getFrontFace() const { return _frontFace; }
        void setDepthTest(bool enabled);
        bool isDepthTest() const { return _depthTest; }
        void setDepthWrite(bool enabled);
        bool isDepthWrite() const { return _depthWrite; }
        void setDepthFunction(DepthFunction function);
        DepthFunction getDepthFunction() const { return _depthFunction; }
        // A state by the name and value a material file uses ("blend" = "true",
        // "blendSrc" = "SRC_ALPHA", "cullFaceSide" = "FRONT", "depthFunc" = "LEQUAL"...);
        // an unknown name or value logs and changes nothing.
        void setState(const std::string& name, const std::string& value);

        uint32_t getSetBits() const { return _bits; }
        // Forgets every state given (the block sets nothing again).
        void reset() { *this = StateBlock(); }
        // Copies the states given to other into this block.
        void cloneInto(StateBlock* other) const;
        // Binds this block over the GL defaults alone.
        void bind() const;
        // Binds the first block of the list (top level first, nulls skipped) that set each state.
        static void bind(const StateBlock* const* levels, int count);

        StateBlock() = default;
        StateBlock& operator=(const StateBlock& other);

    private:
        // Gives the block a state: its value, and its bit among those set.
        template <class T>
        void give(T& state, const T& value, Bit bit) {
            state = value;
            _bits |= bit;
        }

        uint32_t _bits = 0;
        bool _blend = false;
        BlendFunc _blendFunc = BlendFunc::DISABLE;
        bool _cullFace = false;
        CullFaceSide _cullFaceSide = CullFaceSide::BACK;
        FrontFace _frontFace = FrontFace::COUNTER_CLOCK_WISE;
        bool _depthTest = false;
        bool _depthWrite = true;
        DepthFunction _depthFunction = DepthFunction::LESS;
    };

    ~RenderState() override;
    // The level's block, made on first request.
    StateBlock* getStateBlock();
    void setStateBlock(StateBlock* block);   // retained; null: none
    void setTexture(Texture2D* texture);     // retained; null: none
    Texture2D* getTexture() const { return _texture; }
    void setName(const std::string& name) { _name = name; }
    const std::string& getName() const { return _name; }
    // The level above (a pass's technique, a technique's material), not retained; null at the top.
    RenderState* getParent() const { return _parent; }

protected:
    RenderState() = default;
    void setParentState(RenderState* parent) { _parent = parent; }
    // Copies the block and texture into other.
    void cloneInto(RenderState* other) const;

    std::string _name;

private:
    StateBlock* _state = nullptr;
    Texture2D* _texture = nullptr;
    RenderState* _parent = nullptr;
};

}  // namespace engine

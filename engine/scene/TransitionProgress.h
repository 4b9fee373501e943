#pragma once
// Transitions that wipe one scene away to show the other: getRevealed() is the
// share of the screen the incoming scene has taken, 0..100, following the
// progress. The shape of the wipe: round the centre (clockwise or
// anticlockwise from 12 o'clock), a bar across (horizontal, from the left) or
// up (vertical, from the bottom), the incoming scene growing out of the centre
// (in-out, drawn over the outgoing one) or the outgoing one shrinking into it
// (out-in). The bar and centre wipes draw the scene on top only inside its
// share of the screen (a scissor rectangle); the round wipes draw the outgoing
// scene outside the swept slice (a stencil). create() answers nullptr as
// TransitionScene's does.
#include "engine/renderer/Renderer.h"
#include "engine/scene/TransitionScene.h"

namespace engine {

class DrawNode;

class TransitionProgress : public TransitionScene {
public:
    enum class Wipe { RadialCCW, RadialCW, Horizontal, Vertical, InOut, OutIn };

    static TransitionProgress* create(float duration, Scene* scene);
    float getRevealed() const { return _revealed; }
    Wipe getWipe() const { return _wipe; }
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;
    ~TransitionProgress() override;

protected:
    explicit TransitionProgress(Wipe wipe = Wipe::RadialCCW) : _wipe(wipe) {}
    void apply(float progress) override { _revealed = progress * 100.f; }
    void drawRound(Renderer* renderer, const Mat4& transform, uint32_t flags);
    bool inSceneOnTop() const override { return _wipe == Wipe::InOut; }

private:
    Wipe _wipe;
    float _revealed = 0.f;
    CustomCommand _beginClip;
    CustomCommand _endClip;
    DrawNode* _slice = nullptr;   // the swept slice of the round wipes; retained
    CustomCommand _endStencilDrawing;
};

#define VEXO_WIPE_CLASS(Name, Base, wipe)                          \
    class Name : public Base {                                     \
    public:                                                        \
        static Name* create(float duration, Scene* scene);         \
                                                                   \
    protected:                                                     \
        Name() : Base(Wipe::wipe) {}                               \
        explicit Name(Wipe other) : Base(other) {}                 \
    };

VEXO_WIPE_CLASS(TransitionProgressRadialCCW, TransitionProgress, RadialCCW)
VEXO_WIPE_CLASS(TransitionProgressRadialCW, TransitionProgressRadialCCW, RadialCW)
VEXO_WIPE_CLASS(TransitionProgressHorizontal, TransitionProgress, Horizontal)
VEXO_WIPE_CLASS(TransitionProgressVertical, TransitionProgress, Vertical)
VEXO_WIPE_CLASS(TransitionProgressInOut, TransitionProgress, InOut)
VEXO_WIPE_CLASS(TransitionProgressOutIn, TransitionProgress, OutIn)
#undef VEXO_WIPE_CLASS

}  // namespace engine

#pragma once
// Scenes that take the running scene out and bring another in over a time.
//
// A transition is made for the scene to bring in and holds it and the scene
// running when it was made (the outgoing one; none at the start), both retained.
// Replacing the running scene with a transition:
// - when the transition enters, the outgoing scene gets onExitTransitionDidStart
//   (it keeps running meanwhile) and the incoming one onEnter;
// - each frame the transition applies its effect to both scenes at progress
//   elapsed / duration;
// - once its time has passed it finishes: both scenes get their plain look back
//   (the outgoing one hidden) and the director replaces the transition with the
//   incoming scene. Leaving, the transition has the outgoing scene exit (and
//   clean up) and the incoming one get onEnterTransitionDidFinish; the incoming
//   scene does not enter a second time.
// The director draws both scenes through the transition, in the order the effect
// needs. More effects: engine/scene/TransitionOriented.h (flips),
// TransitionProgress.h (wipes) and TransitionZooms.h. create() answers nullptr for a null scene or the running scene itself.
#include "engine/base/Types.h"
#include "engine/scene/Scene.h"

namespace engine {

class LayerColor;

class TransitionScene : public Scene {
public:
    static TransitionScene* create(float duration, Scene* scene);
    ~TransitionScene() override;

    Scene* getInScene() const { return _inScene; }
    Scene* getOutScene() const { return _outScene; }
    float getDuration() const { return _duration; }
    // Ends the effect and hands the stage to the incoming scene (at most once).
    void finish();

    void onEnter() override;
    void onExit() override;
    void cleanup() override;
    void update(float delta) override;
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    TransitionScene() = default;
    bool initWithDuration(float duration, Scene* scene);
    // The effect at progress 0..1; nothing for the plain transition.
    virtual void apply(float progress) { (void)progress; }
    // Whether the incoming scene is drawn over the outgoing one.
    virtual bool inSceneOnTop() const { return true; }

    Scene* _inScene = nullptr;
    Scene* _outScene = nullptr;
    float _duration = 0.f;

private:
    float _elapsed = 0.f;
    bool _finished = false;
};

// Defines Name::create(duration, scene) for a transition that initWithDuration
// sets up alone: autoreleased, or nullptr as TransitionScene::create.
#define VEXO_TRANSITION_CREATE(Name)                                                 \
    Name* Name::create(float duration, Scene* scene) {                               \
        auto* transition = new Name;                                                 \
        return autoreleased(transition, transition->initWithDuration(duration, scene)); \
    }

// Fades to a colour (black by default) with the outgoing scene, then from it
// with the incoming one.
class TransitionFade : public TransitionScene {
public:
    static TransitionFade* create(float duration, Scene* scene);
    static TransitionFade* create(float duration, Scene* scene, const Color3B& color);
    ~TransitionFade() override;
    LayerColor* getOverlay() const { return _overlay; }

protected:
    void apply(float progress) override;

private:
    TransitionFade() = default;
    LayerColor* _overlay = nullptr;
};

// The outgoing scene fades out over the incoming one.
class TransitionCrossFade : public TransitionScene {
public:
    static TransitionCrossFade* create(float duration, Scene* scene);

protected:
    void apply(float progress) override;
    bool inSceneOnTop() const override { return false; }

private:
    TransitionCrossFade() = default;
};

// The incoming scene slides in from a side pushing the outgoing one out
// (slide), or over the still outgoing one (move in).
class TransitionSlideIn : public TransitionScene {
public:
    enum class From { Left, Right, Top, Bottom };

protected:
    TransitionSlideIn(From from, bool pushOut) : _from(from), _pushOut(pushOut) {}
    void apply(float progress) override;

private:
    From _from;
    bool _pushOut;
};

#define VEXO_SLIDE_CLASS(Name, side, push)                            \
    class Name : public TransitionSlideIn {                           \
    public:                                                           \
        static Name* create(float duration, Scene* scene);            \
                                                                      \
    private:                                                          \
        Name() : TransitionSlideIn(From::side, push) {}               \
    };

VEXO_SLIDE_CLASS(TransitionSlideInL, Left, true)
VEXO_SLIDE_CLASS(TransitionSlideInR, Right, true)
VEXO_SLIDE_CLASS(TransitionSlideInT, Top, true)
VEXO_SLIDE_CLASS(TransitionSlideInB, Bottom, true)
VEXO_SLIDE_CLASS(TransitionMoveInL, Left, false)
VEXO_SLIDE_CLASS(TransitionMoveInR, Right, false)
VEXO_SLIDE_CLASS(TransitionMoveInT, Top, false)
VEXO_SLIDE_CLASS(TransitionMoveInB, Bottom, false)
#undef VEXO_SLIDE_CLASS

}  // namespace engine

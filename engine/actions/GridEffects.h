#pragma once
// Effects on a Grid3D (engine/actions/GridAction.h). t is the progress 0..1;
// "rate" is the amplitude rate (1 unless set); v is a point, o its original.
//
//   Waves3D    o.z + sin(2πt·waves + (o.x + o.y)·0.01)·amplitude·rate
//   Waves      x (vertical waves) and/or y (horizontal) swing like Waves3D,
//              with phases o.y·0.01 and o.x·0.01
//   Liquid     inner points: x and y swing with phases o.x·0.01 and o.y·0.01
//   Ripple3D   within radius r of the centre: z swings with phase d·0.1 (d the
//              distance), scaled by ((r − d)/r)²
//   Lens3D     within radius r: pushed away from the centre by the factor
//              1 + lensEffect·(1 − d/r) (raised towards the viewer when concave
//              is off, lowered when on, by (r − d)·lensEffect·0.1)
//   Twirl      points turn about the centre by an angle growing with their
//              distance in cells: cells·cos(π/2 + 2πt·twirls)·0.1·amplitude·rate
//   Shaky3D    every point moves randomly within ±range (z only with shakeZ)
//   FlipX3D /  a 1 x 1 grid turning about its vertical / horizontal middle by πt
//   FlipY3D
//   PageTurn3D the page turns about its left edge, its far side first: a point
//              u of the width along turns by πt·(0.5 + 0.5u)
#include "engine/actions/GridAction.h"

namespace engine {

// The amplitude and its rate, shared by the waving effects.
template <class Base>
class AmplitudeEffect : public Base {
public:
    float getAmplitude() const { return _amplitude; }
    void setAmplitude(float amplitude) { _amplitude = amplitude; }
    float getAmplitudeRate() const { return _amplitudeRate; }
    void setAmplitudeRate(float rate) { _amplitudeRate = rate; }

protected:
    // The end of clone(): the copy keeps this effect's rate and runs the same way.
    template <class T>
    T* sameEffect(T* copy) const {
        copy->_amplitudeRate = _amplitudeRate;
        return this->sameWay(copy);
    }

    float _amplitude = 0.f;
    float _amplitudeRate = 1.f;
};

// An effect of `count` waves (or jumps) of an amplitude over its time, and its
// create() and clone().
#define VEXO_WAVE_EFFECT_CLASS(Name, Base, count)                                                   \
    class Name : public AmplitudeEffect<Base> {                                                     \
    public:                                                                                         \
        static Name* create(float duration, const Size& gridSize, unsigned int count, float amplitude); \
        Name* clone() const override;                                                               \
                                                                                                    \
    protected:                                                                                      \
        void applyEffect(float t) override;                                                         \
                                                                                                    \
    private:                                                                                        \
        unsigned int _##count = 0;                                                                  \
    };
#define VEXO_WAVE_EFFECT_DEFS(Name, count)                                                          \
    Name* Name::create(float duration, const Size& gridSize, unsigned int count, float amplitude) {  \
        return made<Name>(duration, gridSize, [&](Name& a) {                                        \
            a._##count = count;                                                                     \
            a._amplitude = amplitude;                                                               \
        });                                                                                         \
    }                                                                                               \
    Name* Name::clone() const { return sameEffect(create(getDuration(), getGridSize(), _##count, _amplitude)); }

VEXO_WAVE_EFFECT_CLASS(Waves3D, Grid3DAction, waves)

class Waves : public AmplitudeEffect<Grid3DAction> {
public:
    static Waves* create(float duration, const Size& gridSize, unsigned int waves, float amplitude, bool horizontal,
                         bool vertical);
    Waves* clone() const override;

protected:
    void applyEffect(float t) override;

private:
    unsigned int _waves = 0;
    bool _horizontal = false, _vertical = false;
};

VEXO_WAVE_EFFECT_CLASS(Liquid, Grid3DAction, waves)

class Ripple3D : public AmplitudeEffect<Grid3DAction> {
public:
    static Ripple3D* create(float duration, const Size& gridSize, const Vec2& position, float radius,
                            unsigned int waves, float amplitude);
    Ripple3D* clone() const override;
    const Vec2& getPosition() const { return _position; }
    void setPosition(const Vec2& position) { _position = position; }

protected:
    void applyEffect(float t) override;

private:
    Vec2 _position;
    float _radius = 0.f;
    unsigned int _waves = 0;
};

class Lens3D : public Grid3DAction {
public:
    static Lens3D* create(float duration, const Size& gridSize, const Vec2& position, float radius);
    Lens3D* clone() const override;
    float getLensEffect() const { return _lensEffect; }
    void setLensEffect(float effect) { _lensEffect = effect; }
    void setConcave(bool concave) { _concave = concave; }
    const Vec2& getPosition() const { return _position; }
    void setPosition(const Vec2& position) { _position = position; }

protected:
    void applyEffect(float t) override;

private:
    Vec2 _position;
    float _radius = 0.f;
    float _lensEffect = 0.7f;
    bool _concave = false;
};

class Twirl : public AmplitudeEffect<Grid3DAction> {
public:
    static Twirl* create(float duration, const Size& gridSize, const Vec2& position, unsigned int twirls,
                         float amplitude);
    Twirl* clone() const override;
    const Vec2& getPosition() const { return _position; }
    void setPosition(const Vec2& position) { _position = position; }

protected:
    void applyEffect(float t) override;

private:
    Vec2 _position;
    unsigned int _twirls = 0;
};

class Shaky3D : public Grid3DAction {
public:
    static Shaky3D* create(float duration, const Size& gridSize, int range, bool shakeZ);
    Shaky3D* clone() const override;

protected:
    void applyEffect(float t) override;

private:
    int _range = 0;
    bool _shakeZ = false;
};

class FlipX3D : public Grid3DAction {
public:
    static FlipX3D* create(float duration);
    FlipX3D* clone() const override;

protected:
    void applyEffect(float t) override;
};

class FlipY3D : public Grid3DAction {
public:
    static FlipY3D* create(float duration);
    FlipY3D* clone() const override;

protected:
    void applyEffect(float t) override;
};

class PageTurn3D : public Grid3DAction {
public:
    static PageTurn3D* create(float duration, const Size& gridSize);
    PageTurn3D* clone() const override;

protected:
    GridBase* newGrid(const Rect& rect) const override;
    void applyEffect(float t) override;
};

// A random offset in [-range, range] (shared by the shaking effects).
float randomShake(int range);

}  // namespace engine

#include "engine/scene/ParticleSystem.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/base/Director.h"
#include "engine/renderer/Texture2D.h"

namespace engine {

namespace {

constexpr float kRadiansPerDegree = std::numbers::pi_v<float> / 180.f;

Color4F clamped(const Color4F& c) {
    return Color4F{std::clamp(c.r, 0.f, 1.f), std::clamp(c.g, 0.f, 1.f), std::clamp(c.b, 0.f, 1.f),
                   std::clamp(c.a, 0.f, 1.f)};
}

}  // namespace

ParticleSystem* ParticleSystem::createWithTotalParticles(int count) {
    auto* system = new ParticleSystem;
    return autoreleased(system, system->initWithTotalParticles(count));
}

bool ParticleSystem::initWithTotalParticles(int count) {
    if (!init()) return false;
    setTotalParticles(count);
    resetSystem();
    return true;
}

ParticleSystem::~ParticleSystem() {
    if (_texture) _texture->release();
}

void ParticleSystem::setTexture(Texture2D* texture) {
    if (texture == _texture) return;
    if (texture) texture->retain();
    if (_texture) _texture->release();
    _texture = texture;
}

void ParticleSystem::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    if (_particles.empty()) return;
    GLProgramState* state = getGLProgramState() ? getGLProgramState() : defaultQuadProgramState();
    _quad.init(getGlobalZOrder(), _texture, state, getBlendFunc());
    const float opacity = getDisplayedOpacity() / 255.f;
    auto byte = [](float value) { return static_cast<uint8_t>(std::lround(std::clamp(value, 0.f, 1.f) * 255.f)); };
    for (const Particle& p : _particles) {
        const float half = p.size / 2.f;
        const Color4B color{byte(p.color.r), byte(p.color.g), byte(p.color.b), byte(p.color.a * opacity)};
        _quad.addQuad(transform, Vec2(p.position.x - half, p.position.y - half),
                      Vec2(p.position.x + half, p.position.y + half), color, 0.f, 0.f, 1.f, 1.f);
    }
    renderer->addCommand(&_quad);
}

void ParticleSystem::setTotalParticles(int count) {
    _totalParticles = std::max(count, 0);
    if (_particles.size() > static_cast<size_t>(_totalParticles)) _particles.resize(static_cast<size_t>(_totalParticles));
}

void ParticleSystem::resetSystem() {
    _active = true;
    _elapsed = 0.f;
    _emitCounter = 0.f;
    _particles.clear();
}

void ParticleSystem::stopSystem() {
    _active = false;
    _elapsed = _duration;
    _emitCounter = 0.f;
}

bool ParticleSystem::isBlendAdditive() const { return getBlendFunc() == BlendFunc::ADDITIVE; }

void ParticleSystem::setBlendAdditive(bool additive) {
    setBlendFunc(additive ? BlendFunc::ADDITIVE : BlendFunc::ALPHA_PREMULTIPLIED);
}

void ParticleSystem::onEnter() {
    BlendNode<ParticleSystem>::onEnter();
    scheduleUpdate();
}

void ParticleSystem::onExit() {
    unscheduleUpdate();
    BlendNode<ParticleSystem>::onExit();
}

float ParticleSystem::random(float variance) {
    std::uniform_real_distribution<float> unit(-1.f, 1.f);
    return variance * unit(_random);
}

void ParticleSystem::emit() {
    Particle p;
    p.timeToLive = std::max(0.f, _life + random(_lifeVar));
    p.position = Vec2(_sourcePosition.x + random(_posVar.x), _sourcePosition.y + random(_posVar.y));
    const float life = std::max(p.timeToLive, 1e-6f);

    const Color4F start = clamped(Color4F{_startColor.r + random(_startColorVar.r), _startColor.g + random(_startColorVar.g),
                                          _startColor.b + random(_startColorVar.b), _startColor.a + random(_startColorVar.a)});
    const Color4F end = clamped(Color4F{_endColor.r + random(_endColorVar.r), _endColor.g + random(_endColorVar.g),
                                        _endColor.b + random(_endColorVar.b), _endColor.a + random(_endColorVar.a)});
    p.color = start;
    p.deltaColor = Color4F{(end.r - start.r) / life, (end.g - start.g) / life, (end.b - start.b) / life,
                           (end.a - start.a) / life};

    p.size = std::max(0.f, _startSize + random(_startSizeVar));
    if (_endSize != kStartSizeEqualToEndSize) {
        p.deltaSize = (std::max(0.f, _endSize + random(_endSizeVar)) - p.size) / life;
    }
    const float startSpin = _startSpin + random(_startSpinVar);
    p.rotation = startSpin;
    p.deltaRotation = (_endSpin + random(_endSpinVar) - startSpin) / life;

    const float direction = (_angle + random(_angleVar)) * kRadiansPerDegree;
    if (_mode == Mode::GRAVITY) {
        const float speed = _speed + random(_speedVar);
        p.direction = Vec2(std::cos(direction) * speed, std::sin(direction) * speed);
        p.radialAccel = _radialAccel + random(_radialAccelVar);
        p.tangentialAccel = _tangentialAccel + random(_tangentialAccelVar);
    } else {
        const float startRadius = _startRadius + random(_startRadiusVar);
        const float endRadius =
            _endRadius == kStartRadiusEqualToEndRadius ? startRadius : _endRadius + random(_endRadiusVar);
        p.radius = startRadius;
        p.deltaRadius = (endRadius - startRadius) / life;
        p.angle = direction;
        p.degreesPerSecond = (_rotatePerSecond + random(_rotatePerSecondVar)) * kRadiansPerDegree;
        p.position = _sourcePosition + Vec2(-std::cos(p.angle) * p.radius, -std::sin(p.angle) * p.radius);
    }
    _particles.push_back(p);
}

void ParticleSystem::update(float delta) {
    if (_active) {
        const float rate = _emissionRate > 0.f ? 1.f / _emissionRate : 0.f;
        if (rate > 0.f) {
            if (!isFull()) _emitCounter += delta;
            while (!isFull() && _emitCounter > rate) {
                emit();
                _emitCounter -= rate;
            }
        }
        _elapsed += delta;
        if (_duration != kDurationInfinity && _duration < _elapsed) stopSystem();
    }

    for (size_t i = 0; i < _particles.size();) {
        Particle& p = _particles[i];
        p.timeToLive -= delta;
        if (p.timeToLive <= 0.f) {
            p = _particles.back();
            _particles.pop_back();
            continue;
        }
        if (_mode == Mode::GRAVITY) {
            Vec2 offset = p.position - _sourcePosition;
            const float length = std::hypot(offset.x, offset.y);
            const Vec2 radial = length > 0.f ? Vec2(offset.x / length, offset.y / length) : Vec2();
            const Vec2 tangential(-radial.y, radial.x);
            const Vec2 accel(radial.x * p.radialAccel + tangential.x * p.tangentialAccel + _gravity.x,
                             radial.y * p.radialAccel + tangential.y * p.tangentialAccel + _gravity.y);
            p.direction = p.direction + Vec2(accel.x * delta, accel.y * delta);
            p.position = p.position + Vec2(p.direction.x * delta, p.direction.y * delta);
        } else {
            p.angle += p.degreesPerSecond * delta;
            p.radius += p.deltaRadius * delta;
            p.position = _sourcePosition + Vec2(-std::cos(p.angle) * p.radius, -std::sin(p.angle) * p.radius);
        }
        p.color = clamped(Color4F{p.color.r + p.deltaColor.r * delta, p.color.g + p.deltaColor.g * delta,
                                  p.color.b + p.deltaColor.b * delta, p.color.a + p.deltaColor.a * delta});
        p.size = std::max(0.f, p.size + p.deltaSize * delta);
        p.rotation += p.deltaRotation * delta;
        ++i;
    }

    if (!_active && _particles.empty() && _autoRemoveOnFinish && getParent()) {
        unscheduleUpdate();
        removeFromParent();   // last: this may be gone now
    }
}

// ---- Quad systems

ParticleSystemQuad* ParticleSystemQuad::create() { return createWithTotalParticles(0); }

ParticleSystemQuad* ParticleSystemQuad::create(const std::string& file) {
    ParticleSystemQuad* system = create();
    system->_file = file;
    return system;
}

ParticleSystemQuad* ParticleSystemQuad::createWithTotalParticles(int count) {
    auto* system = new ParticleSystemQuad;
    return autoreleased(system, system->initWithTotalParticles(count));
}

// ---- Presets

namespace {

struct Look {
    float life, lifeVar;
    float angle, angleVar;
    float speed, speedVar;
    Vec2 gravity;
    float radialAccel, tangentialAccel;
    float startSize, startSizeVar, endSize;
    Color4F startColor, startColorVar, endColor;
    bool additive;
};

void applyLook(ParticleSystem* s, const Look& look) {
    s->setEmitterMode(ParticleSystem::Mode::GRAVITY);
    s->setLife(look.life);
    s->setLifeVar(look.lifeVar);
    s->setAngle(look.angle);
    s->setAngleVar(look.angleVar);
    s->setSpeed(look.speed);
    s->setSpeedVar(look.speedVar);
    s->setGravity(look.gravity);
    s->setRadialAccel(look.radialAccel);
    s->setTangentialAccel(look.tangentialAccel);
    s->setStartSize(look.startSize);
    s->setStartSizeVar(look.startSizeVar);
    s->setEndSize(look.endSize);
    s->setStartColor(look.startColor);
    s->setStartColorVar(look.startColorVar);
    s->setEndColor(look.endColor);
    s->setBlendAdditive(look.additive);
    s->setEmissionRate(look.life > 0.f ? static_cast<float>(s->getTotalParticles()) / look.life : 0.f);
    const Size screen = Director::getInstance()->getWinSize();
    s->setPosition(screen.width / 2, screen.height / 2);
}

constexpr float kSame = ParticleSystem::kStartSizeEqualToEndSize;
constexpr Color4F kClear{0.f, 0.f, 0.f, 0.f};
constexpr Color4F kBlack{0.f, 0.f, 0.f, 1.f};

}  // namespace

#define VEXO_PARTICLE_PRESET_DEFS(Name, defaultCount)                                 \
    Name* Name::create() { return createWithTotalParticles(defaultCount); }          \
    Name* Name::createWithTotalParticles(int count) {                                \
        auto* system = new Name;                                                     \
        return autoreleased(system, system->initWithTotalParticles(count));          \
    }

VEXO_PARTICLE_PRESET_DEFS(ParticleFire, 250)
VEXO_PARTICLE_PRESET_DEFS(ParticleFireworks, 1500)
VEXO_PARTICLE_PRESET_DEFS(ParticleSun, 350)
VEXO_PARTICLE_PRESET_DEFS(ParticleGalaxy, 200)
VEXO_PARTICLE_PRESET_DEFS(ParticleFlower, 250)
VEXO_PARTICLE_PRESET_DEFS(ParticleMeteor, 150)
VEXO_PARTICLE_PRESET_DEFS(ParticleSpiral, 500)
VEXO_PARTICLE_PRESET_DEFS(ParticleExplosion, 700)
VEXO_PARTICLE_PRESET_DEFS(ParticleSmoke, 200)
VEXO_PARTICLE_PRESET_DEFS(ParticleSnow, 700)
VEXO_PARTICLE_PRESET_DEFS(ParticleRain, 1000)
#undef VEXO_PARTICLE_PRESET_DEFS

// Flames rising from a wide base, glowing.
bool ParticleFire::initWithTotalParticles(int count) {
    if (!ParticleSystemQuad::initWithTotalParticles(count)) return false;
    applyLook(this, {3.f, 0.25f, 90.f, 10.f, 60.f, 20.f, {}, 0.f, 0.f, 54.f, 10.f, kSame,
                     {0.76f, 0.25f, 0.12f, 1.f}, kClear, kBlack, true});
    setPosVar(Vec2(40.f, 20.f));
    return true;
}

// Sparks thrown up in every colour, falling back.
bool ParticleFireworks::initWithTotalParticles(int count) {
    if (!ParticleSystemQuad::initWithTotalParticles(count)) return false;
    applyLook(this, {3.5f, 1.f, 90.f, 20.f, 180.f, 50.f, {0.f, -90.f}, 0.f, 0.f, 8.f, 2.f, kSame,
                     {0.5f, 0.5f, 0.5f, 1.f}, {0.5f, 0.5f, 0.5f, 0.1f}, {0.1f, 0.1f, 0.1f, 0.2f}, false});
    return true;
}

// A glowing ball: short-lived particles every way.
bool ParticleSun::initWithTotalParticles(int count) {
    if (!ParticleSystemQuad::initWithTotalParticles(count)) return false;
    applyLook(this, {1.f, 0.5f, 90.f, 360.f, 20.f, 5.f, {}, 0.f, 0.f, 30.f, 10.f, kSame, {0.76f, 0.25f, 0.12f, 1.f},
                     kClear, kBlack, true});
    return true;
}

// Arms curling round the centre.
bool ParticleGalaxy::initWithTotalParticles(int count) {
    if (!ParticleSystemQuad::initWithTotalParticles(count)) return false;
    applyLook(this, {4.f, 1.f, 90.f, 360.f, 60.f, 10.f, {}, -80.f, 80.f, 37.f, 10.f, kSame,
                     {0.12f, 0.25f, 0.76f, 1.f}, kClear, kBlack, true});
    return true;
}

// Petals opening out and turning back in.
bool ParticleFlower::initWithTotalParticles(int count) {
    if (!ParticleSystemQuad::initWithTotalParticles(count)) return false;
    applyLook(this, {4.f, 1.f, 90.f, 360.f, 80.f, 10.f, {}, -60.f, 15.f, 30.f, 10.f, kSame, {0.5f, 0.5f, 0.5f, 1.f},
                     {0.5f, 0.5f, 0.5f, 0.5f}, kBlack, true});
    return true;
}

// A ball with a tail swept up and left.
bool ParticleMeteor::initWithTotalParticles(int count) {
    if (!ParticleSystemQuad::initWithTotalParticles(count)) return false;
    applyLook(this, {2.f, 1.f, 90.f, 360.f, 15.f, 5.f, {-200.f, 200.f}, 0.f, 0.f, 60.f, 10.f, kSame,
                     {0.2f, 0.4f, 0.7f, 1.f}, {0.f, 0.f, 0.2f, 0.1f}, kBlack, true});
    return true;
}

// A long-lived spiral pulled into the centre.
bool ParticleSpiral::initWithTotalParticles(int count) {
    if (!ParticleSystemQuad::initWithTotalParticles(count)) return false;
    applyLook(this, {12.f, 0.f, 90.f, 0.f, 150.f, 0.f, {}, -380.f, 45.f, 20.f, 0.f, kSame, {0.5f, 0.5f, 0.5f, 1.f},
                     {0.5f, 0.5f, 0.5f, 0.f}, {0.5f, 0.5f, 0.5f, 1.f}, false});
    return true;
}

// One burst every way (0.1 s of emission), fading.
bool ParticleExplosion::initWithTotalParticles(int count) {
    if (!ParticleSystemQuad::initWithTotalParticles(count)) return false;
    applyLook(this, {5.f, 2.f, 90.f, 360.f, 70.f, 40.f, {}, 0.f, 0.f, 15.f, 10.f, kSame, {0.7f, 0.1f, 0.2f, 1.f},
                     {0.5f, 0.5f, 0.5f, 0.f}, {0.5f, 0.5f, 0.5f, 0.f}, false});
    setDuration(0.1f);
    setEmissionRate(static_cast<float>(getTotalParticles()) / getDuration());
    return true;
}

// Slow grey puffs rising.
bool ParticleSmoke::initWithTotalParticles(int count) {
    if (!ParticleSystemQuad::initWithTotalParticles(count)) return false;
    applyLook(this, {4.f, 1.f, 90.f, 5.f, 25.f, 10.f, {}, 0.f, 0.f, 60.f, 10.f, kSame, {0.8f, 0.8f, 0.8f, 1.f},
                     {0.02f, 0.02f, 0.02f, 0.f}, kBlack, false});
    setPosVar(Vec2(20.f, 0.f));
    return true;
}

// Flakes drifting down across the screen's width from its top.
bool ParticleSnow::initWithTotalParticles(int count) {
    if (!ParticleSystemQuad::initWithTotalParticles(count)) return false;
    applyLook(this, {45.f, 15.f, -90.f, 5.f, 5.f, 1.f, {0.f, -1.f}, 0.f, 0.f, 10.f, 5.f, kSame, {1.f, 1.f, 1.f, 1.f},
                     {0.f, 0.f, 0.f, 0.1f}, {1.f, 1.f, 1.f, 0.f}, false});
    setTangentialAccelVar(1.f);
    setEmissionRate(10.f);
    const Size screen = Director::getInstance()->getWinSize();
    setPosition(screen.width / 2, screen.height + 10.f);
    setPosVar(Vec2(screen.width / 2, 0.f));
    return true;
}

// Fast drops slanting down across the screen's width from its top.
bool ParticleRain::initWithTotalParticles(int count) {
    if (!ParticleSystemQuad::initWithTotalParticles(count)) return false;
    applyLook(this, {4.5f, 0.f, -90.f, 5.f, 130.f, 30.f, {10.f, -10.f}, 0.f, 0.f, 4.f, 2.f, kSame,
                     {0.7f, 0.8f, 1.f, 1.f}, {0.f, 0.f, 0.f, 0.1f}, {0.7f, 0.8f, 1.f, 0.5f}, false});
    setRadialAccelVar(1.f);
    setEmissionRate(20.f);
    const Size screen = Director::getInstance()->getWinSize();
    setPosition(screen.width / 2, screen.height);
    setPosVar(Vec2(screen.width / 2, 0.f));
    return true;
}

}  // namespace engine

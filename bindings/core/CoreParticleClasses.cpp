// The 2D particle systems: the system's settings, the quad system and the
// preset systems.
#include "bindings/core/CoreClassRows.h"

#include <string>

#include "engine/renderer/Texture2D.h"
#include "engine/scene/ParticleSystem.h"

namespace bindings {

namespace {

using namespace engine;

int32_t getEmitterMode(ParticleSystem* self) { return static_cast<int32_t>(self->getEmitterMode()); }
void setEmitterMode(ParticleSystem* self, int32_t mode) {
    self->setEmitterMode(mode == 1 ? ParticleSystem::Mode::RADIUS : ParticleSystem::Mode::GRAVITY);
}

#define VEXO_PARTICLE_ROWS(Name)                                       \
    {"set" #Name, {method<&ParticleSystem::set##Name>()}},             \
    {"get" #Name, {method<&ParticleSystem::get##Name>()}}

const Method kParticleSystemMethods[] = {
    {"create", {classFunction<&ParticleSystem::create>()}},
    {"createWithTotalParticles", {classFunction<&ParticleSystem::createWithTotalParticles>()}},
    {"setBlendFunc", {methodOf<ParticleSystem, &BlendProtocol::setBlendFunc>()}},
    {"getBlendFunc", {methodOf<ParticleSystem, &BlendProtocol::getBlendFunc>()}},
    {"setTexture", {method<&ParticleSystem::setTexture>()}},
    {"getTexture", {method<&ParticleSystem::getTexture>()}},
    {"setTotalParticles", {method<&ParticleSystem::setTotalParticles>()}},
    {"getTotalParticles", {method<&ParticleSystem::getTotalParticles>()}},
    {"getParticleCount", {method<&ParticleSystem::getParticleCount>()}},
    {"isFull", {method<&ParticleSystem::isFull>()}},
    {"isActive", {method<&ParticleSystem::isActive>()}},
    {"resetSystem", {method<&ParticleSystem::resetSystem>()}},
    {"stopSystem", {method<&ParticleSystem::stopSystem>()}},
    {"setAutoRemoveOnFinish", {method<&ParticleSystem::setAutoRemoveOnFinish>()}},
    {"isAutoRemoveOnFinish", {method<&ParticleSystem::isAutoRemoveOnFinish>()}},
    {"setBlendAdditive", {method<&ParticleSystem::setBlendAdditive>()}},
    {"isBlendAdditive", {method<&ParticleSystem::isBlendAdditive>()}},
    {"setEmitterMode", {method<&setEmitterMode>()}},
    {"getEmitterMode", {method<&getEmitterMode>()}},
    {"update", {method<&ParticleSystem::update>()}},
    VEXO_PARTICLE_ROWS(Duration),
    VEXO_PARTICLE_ROWS(SourcePosition),
    VEXO_PARTICLE_ROWS(PosVar),
    VEXO_PARTICLE_ROWS(Life),
    VEXO_PARTICLE_ROWS(LifeVar),
    VEXO_PARTICLE_ROWS(Angle),
    VEXO_PARTICLE_ROWS(AngleVar),
    VEXO_PARTICLE_ROWS(StartSize),
    VEXO_PARTICLE_ROWS(StartSizeVar),
    VEXO_PARTICLE_ROWS(EndSize),
    VEXO_PARTICLE_ROWS(EndSizeVar),
    VEXO_PARTICLE_ROWS(StartColor),
    VEXO_PARTICLE_ROWS(StartColorVar),
    VEXO_PARTICLE_ROWS(EndColor),
    VEXO_PARTICLE_ROWS(EndColorVar),
    VEXO_PARTICLE_ROWS(StartSpin),
    VEXO_PARTICLE_ROWS(StartSpinVar),
    VEXO_PARTICLE_ROWS(EndSpin),
    VEXO_PARTICLE_ROWS(EndSpinVar),
    VEXO_PARTICLE_ROWS(EmissionRate),
    VEXO_PARTICLE_ROWS(Gravity),
    VEXO_PARTICLE_ROWS(Speed),
    VEXO_PARTICLE_ROWS(SpeedVar),
    VEXO_PARTICLE_ROWS(RadialAccel),
    VEXO_PARTICLE_ROWS(RadialAccelVar),
    VEXO_PARTICLE_ROWS(TangentialAccel),
    VEXO_PARTICLE_ROWS(TangentialAccelVar),
    VEXO_PARTICLE_ROWS(StartRadius),
    VEXO_PARTICLE_ROWS(StartRadiusVar),
    VEXO_PARTICLE_ROWS(EndRadius),
    VEXO_PARTICLE_ROWS(EndRadiusVar),
    VEXO_PARTICLE_ROWS(RotatePerSecond),
    VEXO_PARTICLE_ROWS(RotatePerSecondVar),
};
#undef VEXO_PARTICLE_ROWS

ParticleSystemQuad* createQuad() { return ParticleSystemQuad::create(); }
ParticleSystemQuad* createQuadFromFile(const std::string& file) { return ParticleSystemQuad::create(file); }

const Method kParticleSystemQuadMethods[] = {
    {"create", {classFunction<&createQuad>(), classFunction<&createQuadFromFile>()}},
    {"createWithTotalParticles", {classFunction<&ParticleSystemQuad::createWithTotalParticles>()}},
    {"getFile", {method<&ParticleSystemQuad::getFile>()}},
};

template <class T>
const Method kPresetMethods[] = {
    {"create", {classFunction<&T::create>()}},
    {"createWithTotalParticles", {classFunction<&T::createWithTotalParticles>()}},
};

const ClassEntry kRows[] = {
    classEntry<ParticleSystemQuad>("cc.ParticleSystemQuad", "cc.ParticleSystem", kParticleSystemQuadMethods),
    classEntry<ParticleFire>("cc.ParticleFire", "cc.ParticleSystemQuad", kPresetMethods<ParticleFire>),
    classEntry<ParticleFireworks>("cc.ParticleFireworks", "cc.ParticleSystemQuad", kPresetMethods<ParticleFireworks>),
    classEntry<ParticleSun>("cc.ParticleSun", "cc.ParticleSystemQuad", kPresetMethods<ParticleSun>),
    classEntry<ParticleGalaxy>("cc.ParticleGalaxy", "cc.ParticleSystemQuad", kPresetMethods<ParticleGalaxy>),
    classEntry<ParticleFlower>("cc.ParticleFlower", "cc.ParticleSystemQuad", kPresetMethods<ParticleFlower>),
    classEntry<ParticleMeteor>("cc.ParticleMeteor", "cc.ParticleSystemQuad", kPresetMethods<ParticleMeteor>),
    classEntry<ParticleSpiral>("cc.ParticleSpiral", "cc.ParticleSystemQuad", kPresetMethods<ParticleSpiral>),
    classEntry<ParticleExplosion>("cc.ParticleExplosion", "cc.ParticleSystemQuad", kPresetMethods<ParticleExplosion>),
    classEntry<ParticleSmoke>("cc.ParticleSmoke", "cc.ParticleSystemQuad", kPresetMethods<ParticleSmoke>),
    classEntry<ParticleSnow>("cc.ParticleSnow", "cc.ParticleSystemQuad", kPresetMethods<ParticleSnow>),
    classEntry<ParticleRain>("cc.ParticleRain", "cc.ParticleSystemQuad", kPresetMethods<ParticleRain>),
};

}  // namespace

std::span<const Method> particleSystemMethods() { return kParticleSystemMethods; }
std::span<const ClassEntry> coreParticleRows() { return kRows; }

}  // namespace bindings

// The 3d module's scene classes beside the models: lights, camera background
// brushes, cube textures and skyboxes, skeletal animations, billboards, and the
// materials 3D objects draw with (table "cc").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <string>
#include <vector>

#include "engine/3d/Animate3D.h"
#include "engine/3d/Animation3D.h"
#include "engine/3d/BillBoard.h"
#include "engine/3d/CameraBackgroundBrush.h"
#include "engine/3d/Light3D.h"
#include "engine/3d/Skybox.h"
#include "engine/3d/TextureCube.h"
#include "engine/base/Properties.h"
#include "engine/material/Material.h"
#include "engine/material/VertexAttribBinding.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Camera.h"

namespace bindings {

namespace {

using namespace engine;

// ---- Lights: every light takes the common light methods before its own.

int32_t lightType(BaseLight* self) { return static_cast<int32_t>(self->getLightType()); }

std::vector<Method> lightMethods(std::vector<Method> own) {
    std::vector<Method> methods = {
        {"getLightType", {method<&lightType>()}},
        {"setIntensity", {method<&BaseLight::setIntensity>()}},
        {"getIntensity", {method<&BaseLight::getIntensity>()}},
        {"setLightFlag", {method<&BaseLight::setLightFlag>()}},
        {"getLightFlag", {method<&BaseLight::getLightFlag>()}},
        {"setEnabled", {method<&BaseLight::setEnabled>()}},
        {"isEnabled", {method<&BaseLight::isEnabled>()}},
    };
    methods.insert(methods.end(), own.begin(), own.end());
    return methods;
}

const std::vector<Method> kDirectionLightMethods = lightMethods({
    {"create", {classFunction<&DirectionLight::create>()}},
    {"setDirection", {method<&DirectionLight::setDirection>()}},
    {"getDirection", {method<&DirectionLight::getDirection>()}},
    {"getDirectionInWorld", {method<&DirectionLight::getDirectionInWorld>()}},
});

const std::vector<Method> kPointLightMethods = lightMethods({
    {"create", {classFunction<&PointLight::create>()}},
    {"setRange", {method<&PointLight::setRange>()}},
    {"getRange", {method<&PointLight::getRange>()}},
});

const std::vector<Method> kSpotLightMethods = lightMethods({
    {"create", {classFunction<&SpotLight::create>()}},
    {"setDirection", {method<&SpotLight::setDirection>()}},
    {"getDirection", {method<&SpotLight::getDirection>()}},
    {"getDirectionInWorld", {method<&SpotLight::getDirectionInWorld>()}},
    {"setRange", {method<&SpotLight::setRange>()}},
    {"getRange", {method<&SpotLight::getRange>()}},
    {"setInnerAngle", {method<&SpotLight::setInnerAngle>()}},
    {"getInnerAngle", {method<&SpotLight::getInnerAngle>()}},
    {"getCosInnerAngle", {method<&SpotLight::getCosInnerAngle>()}},
    {"setOuterAngle", {method<&SpotLight::setOuterAngle>()}},
    {"getOuterAngle", {method<&SpotLight::getOuterAngle>()}},
    {"getCosOuterAngle", {method<&SpotLight::getCosOuterAngle>()}},
});

const std::vector<Method> kAmbientLightMethods = lightMethods({
    {"create", {classFunction<&AmbientLight::create>()}},
});

// ---- Camera background brushes

int32_t brushType(CameraBackgroundBrush* self) { return static_cast<int32_t>(self->getBrushType()); }
CameraBackgroundBrush* depthBrushDefault() { return CameraBackgroundBrush::createDepthBrush(); }

const Method kBrushMethods[] = {
    {"createNoneBrush", {classFunction<&CameraBackgroundBrush::createNoneBrush>()}},
    {"createDepthBrush", {classFunction<&depthBrushDefault>(), classFunction<&CameraBackgroundBrush::createDepthBrush>()}},
    {"createColorBrush", {classFunction<&CameraBackgroundBrush::createColorBrush>()}},
    {"createSkyboxBrush", {classFunction<&CameraBackgroundBrush::createSkyboxBrush>()}},
    {"getBrushType", {method<&brushType>()}},
    {"drawBackground", {method<&CameraBackgroundBrush::drawBackground>()}},
    {"isValid", {method<&CameraBackgroundBrush::isValid>()}},
};

const Method kDepthBrushMethods[] = {
    {"create", {classFunction<&CameraBackgroundDepthBrush::create>()}},
    {"setDepth", {method<&CameraBackgroundDepthBrush::setDepth>()}},
    {"getDepth", {method<&CameraBackgroundDepthBrush::getDepth>()}},
};

const Method kColorBrushMethods[] = {
    {"create", {classFunction<&CameraBackgroundColorBrush::create>()}},
    {"setColor", {method<&CameraBackgroundColorBrush::setColor>()}},
    {"getColor", {method<&CameraBackgroundColorBrush::getColor>()}},
};

CameraBackgroundSkyBoxBrush* skyBoxBrushEmpty() { return CameraBackgroundSkyBoxBrush::create(); }
CameraBackgroundSkyBoxBrush* skyBoxBrushOfFaces(const std::string& px, const std::string& nx, const std::string& py,
                                                const std::string& ny, const std::string& pz, const std::string& nz) {
    return CameraBackgroundSkyBoxBrush::create(px, nx, py, ny, pz, nz);
}

const Method kSkyBoxBrushMethods[] = {
    {"create", {classFunction<&skyBoxBrushEmpty>(), classFunction<&skyBoxBrushOfFaces>()}},
    {"setTexture", {method<&CameraBackgroundSkyBoxBrush::setTexture>()}},
    {"getTexture", {method<&CameraBackgroundSkyBoxBrush::getTexture>()}},
    {"setActived", {method<&CameraBackgroundSkyBoxBrush::setActived>()}},
    {"isActived", {method<&CameraBackgroundSkyBoxBrush::isActived>()}},
    {"setTextureValid", {method<&CameraBackgroundSkyBoxBrush::setTextureValid>()}},
};

// ---- Cube textures and skyboxes

std::vector<std::string> imagePaths(TextureCube* self) {
    return {self->getImagePaths().begin(), self->getImagePaths().end()};
}
// Filters and wrap modes as GL numbers: min, mag, wrap s, wrap t.
void setCubeTexParameters(TextureCube* self, uint32_t minFilter, uint32_t magFilter, uint32_t wrapS, uint32_t wrapT) {
    self->setTexParameters(Texture2D::_TexParams{minFilter, magFilter, wrapS, wrapT});
}

const Method kTextureCubeMethods[] = {
    {"create", {classFunction<&TextureCube::create>()}},
    {"reloadTexture", {method<&TextureCube::reloadTexture>()}},
    {"getImagePaths", {method<&imagePaths>()}},
    {"getSize", {method<&TextureCube::getSize>()}},
    {"setTexParameters", {method<&setCubeTexParameters>()}},
};

Skybox* skyboxEmpty() { return Skybox::create(); }
Skybox* skyboxOfFaces(const std::string& px, const std::string& nx, const std::string& py, const std::string& ny,
                      const std::string& pz, const std::string& nz) {
    return Skybox::create(px, nx, py, ny, pz, nz);
}

const Method kSkyboxMethods[] = {
    {"create", {classFunction<&skyboxEmpty>(), classFunction<&skyboxOfFaces>()}},
    {"setTexture", {method<&Skybox::setTexture>()}},
    {"getTexture", {method<&Skybox::getTexture>()}},
    {"reload", {method<&Skybox::reload>()}},
    {"setCamera", {method<&Skybox::setCamera>()}},
    {"getCamera", {method<&Skybox::getCamera>()}},
};

// ---- Skeletal animations

Animation3D* animationOfFile(const std::string& file) { return Animation3D::create(file); }
Animation3D* animationNamed(const std::string& file, const std::string& name) { return Animation3D::create(file, name); }
bool animationHasBone(Animation3D* self, const std::string& name) { return self->getBoneCurveByName(name); }

const Method kAnimation3DMethods[] = {
    {"create", {classFunction<&animationOfFile>(), classFunction<&animationNamed>()}},
    {"getDuration", {method<&Animation3D::getDuration>()}},
    {"getName", {method<&Animation3D::getName>()}},
    {"getBoneCurveByName", {method<&animationHasBone>()}},
};

Animate3D* animateWhole(Animation3D* animation) { return Animate3D::create(animation); }
Animate3D* animatePart(Animation3D* animation, float from, float duration) {
    return Animate3D::create(animation, from, duration);
}
const float kThirtyFrames = 30.f;
int32_t animateQuality(Animate3D* self) { return static_cast<int32_t>(self->getQuality()); }
void setAnimateQuality(Animate3D* self, int32_t quality) {
    self->setQuality(quality >= 0 && quality <= 2 ? static_cast<Animate3D::Quality>(quality)
                                                  : Animate3D::Quality::QUALITY_HIGH);
}

const Method kAnimate3DMethods[] = {
    {"create", {classFunction<&animateWhole>(), classFunction<&animatePart>()}},
    {"createWithFrames", {classFunction<&Animate3D::createWithFrames, &kThirtyFrames>()}},
    {"getAnimation", {method<&Animate3D::getAnimation>()}},
    {"getStartTime", {method<&Animate3D::getStartTime>()}},
    {"setSpeed", {method<&Animate3D::setSpeed>()}},
    {"getSpeed", {method<&Animate3D::getSpeed>()}},
    {"setWeight", {method<&Animate3D::setWeight>()}},
    {"getWeight", {method<&Animate3D::getWeight>()}},
    {"setQuality", {method<&setAnimateQuality>()}},
    {"getQuality", {method<&animateQuality>()}},
    {"setOriginInterval", {method<&Animate3D::setOriginInterval>()}},
    {"getOriginInterval", {method<&Animate3D::getOriginInterval>()}},
    {"setTransitionTime", {classFunction<&Animate3D::setTransitionTime>()}},
    {"getTransitionTime", {classFunction<&Animate3D::getTransitionTime>()}},
    {"clone", {method<&Animate3D::clone>()}},
    {"reverse", {method<&Animate3D::reverse>()}},
};

// ---- Billboards

BillBoard::Mode boardMode(int32_t mode) {
    return mode == 1 ? BillBoard::Mode::VIEW_PLANE_ORIENTED : BillBoard::Mode::VIEW_POINT_ORIENTED;
}
BillBoard* boardEmpty() { return BillBoard::create(); }
BillBoard* boardOfMode(int32_t mode) { return BillBoard::create(boardMode(mode)); }
BillBoard* boardOfFile(const std::string& file) { return BillBoard::create(file); }
BillBoard* boardOfFileMode(const std::string& file, int32_t mode) { return BillBoard::create(file, boardMode(mode)); }
BillBoard* boardOfTexture(Texture2D* texture) { return BillBoard::createWithTexture(texture); }
BillBoard* boardOfTextureMode(Texture2D* texture, int32_t mode) {
    return BillBoard::createWithTexture(texture, boardMode(mode));
}
void setBoardMode(BillBoard* self, int32_t mode) { self->setMode(boardMode(mode)); }
int32_t getBoardMode(BillBoard* self) { return static_cast<int32_t>(self->getMode()); }

const Method kBillBoardMethods[] = {
    {"create",
     {classFunction<&boardEmpty>(), classFunction<&boardOfMode>(), classFunction<&boardOfFile>(),
      classFunction<&boardOfFileMode>()}},
    {"createWithTexture", {classFunction<&boardOfTexture>(), classFunction<&boardOfTextureMode>()}},
    {"setMode", {method<&setBoardMode>()}},
    {"getMode", {method<&getBoardMode>()}},
};

// ---- Materials

using StateBlock = RenderState::StateBlock;

void setCullFaceSide(StateBlock* self, uint32_t side) { self->setCullFaceSide(static_cast<RenderState::CullFaceSide>(side)); }
uint32_t getCullFaceSide(StateBlock* self) { return static_cast<uint32_t>(self->getCullFaceSide()); }
void setFrontFace(StateBlock* self, uint32_t winding) { self->setFrontFace(static_cast<RenderState::FrontFace>(winding)); }
uint32_t getFrontFace(StateBlock* self) { return static_cast<uint32_t>(self->getFrontFace()); }
void setDepthFunction(StateBlock* self, uint32_t function) {
    self->setDepthFunction(static_cast<RenderState::DepthFunction>(function));
}
uint32_t getDepthFunction(StateBlock* self) { return static_cast<uint32_t>(self->getDepthFunction()); }
void bindStateBlock(StateBlock* self) { self->bind(); }

const Method kStateBlockMethods[] = {
    {"create", {classFunction<&StateBlock::create>()}},
    {"setBlend", {method<&StateBlock::setBlend>()}},
    {"isBlend", {method<&StateBlock::isBlend>()}},
    {"setBlendFunc", {method<&StateBlock::setBlendFunc>()}},
    {"getBlendFunc", {method<&StateBlock::getBlendFunc>()}},
    {"setBlendSrc", {method<&StateBlock::setBlendSrc>()}},
    {"setBlendDst", {method<&StateBlock::setBlendDst>()}},
    {"setCullFace", {method<&StateBlock::setCullFace>()}},
    {"isCullFace", {method<&StateBlock::isCullFace>()}},
    {"setCullFaceSide", {method<&setCullFaceSide>()}},
    {"getCullFaceSide", {method<&getCullFaceSide>()}},
    {"setFrontFace", {method<&setFrontFace>()}},
    {"getFrontFace", {method<&getFrontFace>()}},
    {"setDepthTest", {method<&StateBlock::setDepthTest>()}},
    {"isDepthTest", {method<&StateBlock::isDepthTest>()}},
    {"setDepthWrite", {method<&StateBlock::setDepthWrite>()}},
    {"isDepthWrite", {method<&StateBlock::isDepthWrite>()}},
    {"setDepthFunction", {method<&setDepthFunction>()}},
    {"getDepthFunction", {method<&getDepthFunction>()}},
    {"setState", {method<&StateBlock::setState>()}},
    {"getSetBits", {method<&StateBlock::getSetBits>()}},
    {"reset", {method<&StateBlock::reset>()}},
    {"cloneInto", {method<&StateBlock::cloneInto>()}},
    {"bind", {method<&bindStateBlock>()}},
};

const Method kRenderStateMethods[] = {
    {"getStateBlock", {method<&RenderState::getStateBlock>()}},
    {"setStateBlock", {method<&RenderState::setStateBlock>()}},
    {"setTexture", {method<&RenderState::setTexture>()}},
    {"getTexture", {method<&RenderState::getTexture>()}},
    {"getName", {method<&RenderState::getName>()}},
    {"setName", {method<&RenderState::setName>()}},
};

void bindPassIdentity(Pass* self) { self->bind(Mat4::IDENTITY); }

const Method kPassMethods[] = {
    {"create", {classFunction<&Pass::create>()}},
    {"createWithGLProgramState", {classFunction<&Pass::createWithGLProgramState>()}},
    {"setGLProgramState", {method<&Pass::setGLProgramState>()}},
    {"getGLProgramState", {method<&Pass::getGLProgramState>()}},
    {"setVertexAttribBinding", {method<&Pass::setVertexAttribBinding>()}},
    {"getVertexAttributeBinding", {method<&Pass::getVertexAttributeBinding>()}},
    {"getTechnique", {method<&Pass::getTechnique>()}},
    {"bind", {method<&bindPassIdentity>()}},
    {"unbind", {method<&Pass::unbind>()}},
    {"clone", {method<&Pass::clone>()}},
};

const Method kTechniqueMethods[] = {
    {"create", {classFunction<&Technique::create>()}},
    {"createWithGLProgramState", {classFunction<&Technique::createWithGLProgramState>()}},
    {"addPass", {method<&Technique::addPass>()}},
    {"getPassByIndex", {method<&Technique::getPassByIndex>()}},
    {"getPassCount", {method<&Technique::getPassCount>()}},
    {"getPasses", {method<&Technique::getPasses>()}},
    {"getMaterial", {method<&Technique::getMaterial>()}},
    {"clone", {method<&Technique::clone>()}},
};

const Method kMaterialMethods[] = {
    {"createWithFilename", {classFunction<&Material::createWithFilename>()}},
    {"createWithProperties", {classFunction<&Material::createWithProperties>()}},
    {"createWithGLStateProgram", {classFunction<&Material::createWithGLStateProgram>()}},
    {"getTechnique", {method<&Material::getTechnique>()}},
    {"getTechniques", {method<&Material::getTechniques>()}},
    {"getTechniqueCount", {method<&Material::getTechniqueCount>()}},
    {"getTechniqueByName", {method<&Material::getTechniqueByName>()}},
    {"getTechniqueByIndex", {method<&Material::getTechniqueByIndex>()}},
    {"addTechnique", {method<&Material::addTechnique>()}},
    {"setTechnique", {method<&Material::setTechnique>()}},
    {"clone", {method<&Material::clone>()}},
};

bool setAttribPointer(VertexAttribBinding* self, const std::string& name, int32_t size, uint32_t type,
                      bool normalized, int32_t stride, unsigned long offset) {
    return self->setVertexAttribPointer(name, size, type, normalized, stride, offset);
}

const Method kVertexAttribBindingMethods[] = {
    {"create", {classFunction<&VertexAttribBinding::create>()}},
    {"setVertexAttribPointer", {method<&setAttribPointer>()}},
    {"getVertexAttribsFlags", {method<&VertexAttribBinding::getVertexAttribsFlags>()}},
    {"getVertexAttribCount", {method<&VertexAttribBinding::getVertexAttribCount>()}},
    {"bind", {method<&VertexAttribBinding::bind>()}},
    {"unbind", {method<&VertexAttribBinding::unbind>()}},
};

// Rows in registration order, bases first.
const std::vector<ClassEntry> kRows = {
    classEntry<DirectionLight>("cc.DirectionLight", "cc.Node", kDirectionLightMethods),
    classEntry<PointLight>("cc.PointLight", "cc.Node", kPointLightMethods),
    classEntry<SpotLight>("cc.SpotLight", "cc.Node", kSpotLightMethods),
    classEntry<AmbientLight>("cc.AmbientLight", "cc.Node", kAmbientLightMethods),
    classEntry<CameraBackgroundBrush>("cc.CameraBackgroundBrush", "cc.Ref", kBrushMethods),
    classEntry<CameraBackgroundDepthBrush>("cc.CameraBackgroundDepthBrush", "cc.CameraBackgroundBrush",
                                           kDepthBrushMethods),
    classEntry<CameraBackgroundColorBrush>("cc.CameraBackgroundColorBrush", "cc.CameraBackgroundDepthBrush",
                                           kColorBrushMethods),
    classEntry<CameraBackgroundSkyBoxBrush>("cc.CameraBackgroundSkyBoxBrush", "cc.CameraBackgroundBrush",
                                            kSkyBoxBrushMethods),
    classEntry<TextureCube>("cc.TextureCube", "cc.Ref", kTextureCubeMethods),
    classEntry<Skybox>("cc.Skybox", "cc.Node", kSkyboxMethods),
    classEntry<Animation3D>("cc.Animation3D", "cc.Ref", kAnimation3DMethods),
    classEntry<Animate3D>("cc.Animate3D", "cc.ActionInterval", kAnimate3DMethods),
    classEntry<BillBoard>("cc.BillBoard", "cc.Sprite", kBillBoardMethods),
    classEntry<RenderState>("cc.RenderState", "cc.Ref", kRenderStateMethods),
    classEntry<StateBlock>("cc.RenderState::StateBlock", "cc.Ref", kStateBlockMethods),
    classEntry<Pass>("cc.Pass", "cc.RenderState", kPassMethods),
    classEntry<Technique>("cc.Technique", "cc.RenderState", kTechniqueMethods),
    classEntry<Material>("cc.Material", "cc.RenderState", kMaterialMethods),
    classEntry<VertexAttribBinding>("cc.VertexAttribBinding", "cc.Ref", kVertexAttribBindingMethods),
};

}  // namespace

std::span<const ClassEntry> threeDSceneClassRows() { return kRows; }

}  // namespace bindings

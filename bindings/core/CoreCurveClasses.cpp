// The curve actions of the core table and what they are built from: the
// control-point list, the cardinal-spline and Catmull-Rom actions, the Bézier
// actions, the camera actions and the grid action. Their constructors from Lua
// point arrays and the reverse of the camera and grid actions are hand-written
// (bindings/core/LuaCurveActions.h).
#include "bindings/core/CoreClassRows.h"

#include "engine/actions/ActionBezier.h"
#include "engine/actions/ActionCamera.h"
#include "engine/actions/ActionCatmullRom.h"
#include "engine/actions/GridAction.h"

namespace bindings {

namespace {

using namespace engine;

void setEyeVector(ActionCamera* self, const Vec3& eye) { self->setEye(eye); }
void setEyeCoordinates(ActionCamera* self, float x, float y, float z) { self->setEye(x, y, z); }

const Method kPointArrayMethods[] = {
    {"create", {classFunction<&PointArray::create>()}},
    {"addControlPoint", {method<&PointArray::addControlPoint>()}},
    {"insertControlPoint", {method<&PointArray::insertControlPoint>()}},
    {"replaceControlPoint", {method<&PointArray::replaceControlPoint>()}},
    {"removeControlPointAtIndex", {method<&PointArray::removeControlPointAtIndex>()}},
    {"getControlPointAtIndex", {method<&PointArray::getControlPointAtIndex>()}},
    {"count", {method<&PointArray::count>()}},
    {"reverse", {method<&PointArray::reverse>()}},
    {"reverseInline", {method<&PointArray::reverseInline>()}},
    {"clone", {method<&PointArray::clone>()}},
};
const Method kCardinalSplineToMethods[] = {
    {"create", {classFunction<&CardinalSplineTo::create>()}},
    {"getPoints", {method<&CardinalSplineTo::getPoints>()}},
    {"reverse", {method<&CardinalSplineTo::reverse>()}},
};
const Method kCardinalSplineByMethods[] = {{"reverse", {method<&CardinalSplineBy::reverse>()}}};
const Method kCatmullRomToMethods[] = {{"reverse", {method<&CatmullRomTo::reverse>()}}};
const Method kCatmullRomByMethods[] = {{"reverse", {method<&CatmullRomBy::reverse>()}}};
const Method kBezierByMethods[] = {{"reverse", {method<&BezierBy::reverse>()}}};
const Method kActionCameraMethods[] = {
    {"create", {classFunction<&ActionCamera::create>()}},
    {"setEye", {method<&setEyeVector>(), method<&setEyeCoordinates>()}},
    {"getEye", {method<&ActionCamera::getEye>()}},
    {"setCenter", {method<&ActionCamera::setCenter>()}},
    {"getCenter", {method<&ActionCamera::getCenter>()}},
    {"setUp", {method<&ActionCamera::setUp>()}},
    {"getUp", {method<&ActionCamera::getUp>()}},
};
const Method kGridActionMethods[] = {
    {"create", {classFunction<&GridAction::create>()}},
    {"getGrid", {method<&GridAction::getGrid>()}},
    {"getGridSize", {method<&GridAction::getGridSize>()}},
};

const ClassEntry kRows[] = {
    classEntry<PointArray>("cc.PointArray", "cc.Ref", kPointArrayMethods),
    classEntry<CardinalSplineTo>("cc.CardinalSplineTo", "cc.ActionInterval", kCardinalSplineToMethods),
    classEntry<CardinalSplineBy>("cc.CardinalSplineBy", "cc.CardinalSplineTo", kCardinalSplineByMethods),
    classEntry<CatmullRomTo>("cc.CatmullRomTo", "cc.CardinalSplineTo", kCatmullRomToMethods),
    classEntry<CatmullRomBy>("cc.CatmullRomBy", "cc.CardinalSplineBy", kCatmullRomByMethods),
    classEntry<BezierBy>("cc.BezierBy", "cc.ActionInterval", kBezierByMethods),
    classEntry<BezierTo>("cc.BezierTo", "cc.BezierBy"),
    classEntry<ActionCamera>("cc.ActionCamera", "cc.ActionInterval", kActionCameraMethods),
    classEntry<OrbitCamera>("cc.OrbitCamera", "cc.ActionCamera", kCreateMethods<OrbitCamera>),
    classEntry<GridAction>("cc.GridAction", "cc.ActionInterval", kGridActionMethods),
};

}  // namespace

std::span<const ClassEntry> coreCurveRows() { return kRows; }

}  // namespace bindings

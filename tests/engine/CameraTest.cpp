// engine::Camera: projections, views and their product against matrices worked
// out by hand.
#include <gtest/gtest.h>

#include "engine/app/GLView.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/scene/Camera.h"
#include "engine/actions/ActionCamera.h"

#include <cmath>

using engine::Camera;
using engine::CameraFlag;
using engine::Mat4;
using engine::Vec3;

namespace {

void expectNear(const Mat4& actual, const Mat4& expected) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], 1e-5f) << "element " << i;
}

struct CameraTest : ::testing::Test {
    ~CameraTest() override { engine::AutoreleasePool::getInstance()->clear(); }
};

TEST_F(CameraTest, ProjectionsMatchKnownMatrices) {
    struct Case {
        const char* what;
        Camera* camera;
        Camera::Type type;
        Mat4 projection;
    };
    const Case cases[] = {
        // f = 1 / tan(45 degrees) = 1; z row (far + near) / (near - far), 2 far near / (near - far).
        {"perspective 90 degrees, aspect 2, 1 to 3", Camera::createPerspective(90, 2, 1, 3), Camera::Type::PERSPECTIVE,
         Mat4(0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, -3, 0, 0, -1, 0)},
        {"orthographic 200 x 100, -1 to 1", Camera::createOrthographic(200, 100, -1, 1), Camera::Type::ORTHOGRAPHIC,
         Mat4(0.01f, 0, 0, -1, 0, 0.02f, 0, -1, 0, 0, -1, 0, 0, 0, 0, 1)},
        {"orthographic 4 x 2, 1 to 5", Camera::createOrthographic(4, 2, 1, 5), Camera::Type::ORTHOGRAPHIC,
         Mat4(0.5f, 0, 0, -1, 0, 1, 0, -1, 0, 0, -0.5f, -1.5f, 0, 0, 0, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(c.camera, nullptr);
        EXPECT_EQ(c.camera->getType(), c.type);
        expectNear(c.camera->getProjectionMatrix(), c.projection);
        EXPECT_EQ(c.camera->getViewMatrix(), Mat4::IDENTITY);
        EXPECT_EQ(c.camera->getCameraFlag(), CameraFlag::DEFAULT);
    }
}

TEST_F(CameraTest, DegenerateVolumesMakeNoCamera) {
    EXPECT_EQ(Camera::createPerspective(0, 1, 1, 10), nullptr);
    EXPECT_EQ(Camera::createPerspective(60, 0, 1, 10), nullptr);
    EXPECT_EQ(Camera::createPerspective(60, 1, 5, 5), nullptr);
    EXPECT_EQ(Camera::createOrthographic(0, 100, -1, 1), nullptr);
    EXPECT_EQ(Camera::createOrthographic(100, 100, 1, 1), nullptr);
}

TEST_F(CameraTest, ViewFollowsPositionAndLookAt) {
    Camera* camera = Camera::createPerspective(60, 1, 1, 100);
    ASSERT_NE(camera, nullptr);
    camera->setPosition3D(Vec3(10, 20, 30));
    EXPECT_EQ(camera->getPosition3D(), Vec3(10, 20, 30));
    EXPECT_EQ(camera->getPosition(), engine::Vec2(10, 20));
    expectNear(camera->getViewMatrix(), Mat4(1, 0, 0, -10, 0, 1, 0, -20, 0, 0, 1, -30, 0, 0, 0, 1));

    // From (5, 0, 0) towards the origin: world -x is the view's -z, world -z its +x.
    camera->setPosition3D(Vec3(5, 0, 0));
    camera->lookAt(Vec3(0, 0, 0));
    expectNear(camera->getViewMatrix(), Mat4(0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, -5, 0, 0, 0, 1));
    // Moving keeps the orientation: the origin is now 3 to the right, 5 ahead.
    camera->setPosition3D(Vec3(5, 0, 3));
    expectNear(camera->getViewMatrix(), Mat4(0, 0, -1, 3, 0, 1, 0, 0, 1, 0, 0, -5, 0, 0, 0, 1));
    // A target on the eye, or an up along the view, changes nothing.
    camera->lookAt(Vec3(5, 0, 3));
    camera->lookAt(Vec3(5, 0, -10), Vec3(0, 0, 1));
    expectNear(camera->getViewMatrix(), Mat4(0, 0, -1, 3, 0, 1, 0, 0, 1, 0, 0, -5, 0, 0, 0, 1));
}

TEST_F(CameraTest, ViewProjectionTakesWorldPointsToClipSpace) {
    Camera* camera = Camera::createOrthographic(200, 100, -1, 1);
    ASSERT_NE(camera, nullptr);
    camera->setPosition3D(Vec3(50, 0, 0));
    const Mat4 viewProjection = camera->getViewProjectionMatrix();
    struct Case { Vec3 world; Vec3 clip; };
    const Case cases[] = {
        {{150, 50, 0}, {0, 0, 0}},     // the middle of what it sees
        {{50, 0, 0}, {-1, -1, 0}},     // its lower-left corner
        {{250, 100, 1}, {1, 1, -1}},   // upper right, on the far plane
    };
    for (const Case& c : cases) {
        Vec3 p = c.world;
        viewProjection.transformPoint(&p);
        EXPECT_NEAR(p.x, c.clip.x, 1e-5f);
        EXPECT_NEAR(p.y, c.clip.y, 1e-5f);
        EXPECT_NEAR(p.z, c.clip.z, 1e-5f);
    }
}

struct SizedView : engine::GLView {
    SizedView() { setFrameSize(960, 640); }
};

TEST_F(CameraTest, DefaultCameraSeesWhatTheDirectorDraws) {
    engine::Director* director = engine::Director::getInstance();
    Camera* headless = Camera::create();
    ASSERT_NE(headless, nullptr);
    EXPECT_EQ(headless->getProjectionMatrix(), Mat4::IDENTITY);   // no view, as the director

    auto* view = new SizedView;
    director->setOpenGLView(view);
    view->release();
    director->setProjection2D();
    Camera* camera = Camera::create();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->getType(), Camera::Type::ORTHOGRAPHIC);
    expectNear(camera->getViewProjectionMatrix(),
               director->getMatrix(engine::MATRIX_STACK_TYPE::MATRIX_STACK_PROJECTION));
    camera->setCameraFlag(CameraFlag::USER2);
    EXPECT_EQ(camera->getCameraFlag(), CameraFlag::USER2);
    director->setOpenGLView(nullptr);
}

TEST_F(CameraTest, UnprojectTakesViewportPointsBackToTheWorld) {
    struct Case {
        const char* what;
        Camera* camera;
        Vec3 eye;
        engine::Size viewport;
        Vec3 screen, world;
    };
    const engine::Size viewport(200, 100);
    const Case cases[] = {
        {"orthographic, mid depth", Camera::createOrthographic(200, 100, -1, 1), {}, viewport, {50, 25, 0.5f}, {50, 75, 0}},
        {"orthographic, near plane", Camera::createOrthographic(200, 100, -1, 1), {}, viewport, {0, 0, 0}, {0, 100, 1}},
        {"orthographic, far bottom-right", Camera::createOrthographic(200, 100, -1, 1), {}, viewport, {200, 100, 1},
         {200, 0, -1}},
        {"perspective centre, near", Camera::createPerspective(90, 2, 1, 3), {}, viewport, {100, 50, 0}, {0, 0, -1}},
        {"perspective top-right, near", Camera::createPerspective(90, 2, 1, 3), {}, viewport, {200, 0, 0}, {2, 1, -1}},
        {"perspective top-right, far", Camera::createPerspective(90, 2, 1, 3), {}, viewport, {200, 0, 1}, {6, 3, -3}},
        {"perspective, moved eye", Camera::createPerspective(90, 2, 1, 3), {10, 20, 30}, viewport, {100, 50, 1},
         {10, 20, 27}},
        {"zero viewport gives the origin", Camera::createPerspective(90, 2, 1, 3), {}, {0, 100}, {1, 1, 1}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(c.camera, nullptr);
        c.camera->setPosition3D(c.eye);
        Vec3 world(99, 99, 99);
        c.camera->unproject(c.viewport, &c.screen, &world);
        EXPECT_NEAR(world.x, c.world.x, 1e-3f);
        EXPECT_NEAR(world.y, c.world.y, 1e-3f);
        EXPECT_NEAR(world.z, c.world.z, 1e-3f);
    }
}

TEST_F(CameraTest, UnprojectOfOnePointUsesTheWinSize) {
    engine::Director* director = engine::Director::getInstance();
    Camera* camera = Camera::createOrthographic(960, 640, -1, 1);
    EXPECT_EQ(camera->unproject(Vec3(480, 320, 0.5f)), Vec3());   // no view: no viewport
    auto* view = new SizedView;
    director->setOpenGLView(view);
    view->release();
    const Vec3 world = camera->unproject(Vec3(480, 160, 0.5f));
    EXPECT_NEAR(world.x, 480, 1e-3f);
    EXPECT_NEAR(world.y, 480, 1e-3f);
    director->setOpenGLView(nullptr);
}

TEST_F(CameraTest, OrbitCameraSphericalRadiusOfTheEye) {
    const float root2 = std::sqrt(2.f);
    struct Case {
        Vec3 eye, center;
        float radius, zenith, azimuth;
    };
    const Case cases[] = {
        {{0, 0, 1}, {}, 1, 0, 0},
        {{0, 0, 0}, {}, 0, 0, 0},
        {{0, 0, -5}, {}, 5, 180, 0},
        {{0, -3, 0}, {}, 3, 90, -90},
        {{-2, 0, 0}, {}, 2, 90, 180},
        {{1, 1, root2}, {}, 2, 45, 45},
        {{1, 1, 2}, {1, 1, 1}, 1, 0, 0},
    };
    auto* orbit = engine::OrbitCamera::create(1, 1, 0, 0, 0, 0, 0);
    for (const Case& c : cases) {
        orbit->setEye(c.eye);
        orbit->setCenter(c.center);
        float radius = -1, zenith = -1, azimuth = -1;
        orbit->sphericalRadius(&radius, &zenith, &azimuth);
        EXPECT_NEAR(radius, c.radius, 1e-4f) << c.eye.x << "," << c.eye.y << "," << c.eye.z;
        EXPECT_NEAR(zenith, c.zenith, 1e-3f) << c.eye.x << "," << c.eye.y << "," << c.eye.z;
        EXPECT_NEAR(azimuth, c.azimuth, 1e-3f) << c.eye.x << "," << c.eye.y << "," << c.eye.z;
    }
    // What update() puts on the sphere comes back.
    auto* moving = engine::OrbitCamera::create(1, 2, 0, 60, 0, 30, 0);
    moving->update(0.5f);
    float radius = 0, zenith = 0, azimuth = 0;
    moving->sphericalRadius(&radius, &zenith, &azimuth);
    EXPECT_NEAR(radius, 2, 1e-4f);
    EXPECT_NEAR(zenith, 60, 1e-3f);
    EXPECT_NEAR(azimuth, 30, 1e-3f);
}

}  // namespace

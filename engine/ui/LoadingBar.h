#pragma once
// A progress bar widget: an image shown from one side up to a percentage. Drawn
// as one quad: the bar image over the content box, cut at the percentage from the
// left (direction LEFT) or from the right (RIGHT).
#include <string>

#include "engine/renderer/QuadCommand.h"
#include "engine/renderer/Texture2D.h"
#include "engine/ui/Widget.h"

namespace engine::ui {

class LoadingBar : public Widget {
public:
    enum class Direction { LEFT, RIGHT };

    static LoadingBar* create();
    // With the bar image and a starting percentage.
    static LoadingBar* create(const std::string& textureName, float percentage = 0.f);
    ~LoadingBar() override;

    // The bar image; the content size becomes its size. A missing image keeps the
    // previous one and logs.
    void loadTexture(const std::string& textureName, TextureResType type = TextureResType::LOCAL);
    Texture2D* getTexture() const { return _texture; }
    // Clamped to 0..100.
    void setPercent(float percent);
    float getPercent() const { return _percent; }
    void setDirection(Direction direction) { _direction = direction; }
    Direction getDirection() const { return _direction; }
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    LoadingBar() = default;

private:
    Texture2D* _texture = nullptr;
    float _percent = 0.f;
    Direction _direction = Direction::LEFT;
    QuadCommand _quad;
};

}  // namespace engine::ui

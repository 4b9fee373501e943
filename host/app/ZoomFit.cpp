#include "host/app/ZoomFit.h"

#include <algorithm>
#include <cmath>

#include "platform/IntClamp.h"

namespace host {

int clampIntoWork(int position, int workStart, int workLength, int outerLength) {
    const long long high = static_cast<long long>(workStart) + workLength - outerLength - 8;
    const long long low = static_cast<long long>(workStart) + 8;
    return platform::clampToInt(std::max(low, std::min<long long>(position, high)));
}

FitResult fitZoomScale(int workLeft, int workTop, int workWidth, int workHeight, int extraWidth, int extraHeight,
                       double baseWidth, double baseHeight, double zoom, int windowLeft, int windowTop,
                       bool center) {
    const double availableWidth = std::max(1.0, double(workWidth) - extraWidth - 16);
    const double availableHeight = std::max(1.0, double(workHeight) - extraHeight - 16);
    double scale = std::min(availableWidth / baseWidth, availableHeight / baseHeight);
    const double cap = zoom > 0 ? zoom : 1.0;
    scale = std::min(scale, cap);

    FitResult fit;
    fit.scale = scale;
    fit.outerWidth = platform::clampToInt(static_cast<long long>(std::floor(scale * baseWidth)) + extraWidth);
    fit.outerHeight = platform::clampToInt(static_cast<long long>(std::floor(scale * baseHeight)) + extraHeight);
    int x = windowLeft, y = windowTop;
    if (center) {
        x = platform::clampToInt(workLeft + (static_cast<long long>(workWidth) - fit.outerWidth) / 2);
        y = platform::clampToInt(workTop + (static_cast<long long>(workHeight) - fit.outerHeight) / 2);
    }
    fit.x = clampIntoWork(x, workLeft, workWidth, fit.outerWidth);
    fit.y = clampIntoWork(y, workTop, workHeight, fit.outerHeight);
    return fit;
}

}  // namespace host

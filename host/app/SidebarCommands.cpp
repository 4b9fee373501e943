#include "host/app/SidebarCommands.h"

namespace host {

std::string sidebarTooltip(int id, const SidebarState& state) {
    switch (id) {
        case kCmdZoomOut: return "Thu nhỏ";
        case kCmdZoomIn: return "Phóng to";
        case kCmdZoomFit: return "Vừa màn hình (tự động)";
        case kCmdPin: return state.pinned ? "Bỏ ghim — đang luôn nổi trên cùng" : "Ghim — luôn nổi trên cùng";
        case kCmdMusic: return state.musicMuted ? "Bật nhạc nền — hiện đang tắt" : "Tắt nhạc nền — hiện đang bật";
        case kCmdTopUp: return "Nạp thẻ trong game";
        case kCmdSupport: return "Hỗ trợ Telegram — QRV2026";
        default: return "";
    }
}

std::string sidebarLabel(int id, const SidebarState& state) {
    switch (id) {
        case kCmdZoomOut: return "Thu nhỏ";
        case kCmdZoomIn: return "Phóng";
        case kCmdZoomFit: return "Vừa màn";
        case kCmdPin: return state.pinned ? "Đã ghim" : "Ghim";
        case kCmdMusic: return state.musicMuted ? "Tắt nhạc" : "Nhạc";
        case kCmdTopUp: return "Nạp thẻ";
        case kCmdSupport: return "Hỗ trợ";
        default: return "";
    }
}

std::vector<IconShape> sidebarIcon(int id, const SidebarState& state) {
    using K = IconShape::Kind;
    switch (id) {
        case kCmdZoomOut: return {{K::Line, 4, 10, 16, 10}};
        case kCmdZoomIn: return {{K::Line, 4, 10, 16, 10}, {K::Line, 10, 4, 10, 16}};
        case kCmdZoomFit:
            return {{K::Line, 2, 8, 2, 2},     {K::Line, 2, 2, 8, 2},     {K::Line, 12, 2, 18, 2},
                    {K::Line, 18, 2, 18, 8},   {K::Line, 18, 12, 18, 18}, {K::Line, 18, 18, 12, 18},
                    {K::Line, 8, 18, 2, 18},   {K::Line, 2, 18, 2, 12}};
        case kCmdPin: {
            std::vector<IconShape> pin = {{K::Line, 6, 2, 14, 2},   {K::Line, 7, 2, 7, 8},
                                          {K::Line, 13, 2, 13, 8},  {K::Line, 7, 8, 4, 12},
                                          {K::Line, 4, 12, 16, 12}, {K::Line, 16, 12, 13, 8},
                                          {K::Line, 10, 12, 10, 19}};
            if (!state.pinned) pin.push_back({K::Line, 2, 18, 18, 2});
            return pin;
        }
        case kCmdMusic: {
            std::vector<IconShape> note = {{K::Line, 8, 14, 8, 4},
                                           {K::Line, 8, 4, 17, 2},
                                           {K::Line, 17, 2, 17, 12},
                                           {K::Ellipse, 2, 12, 9, 18},
                                           {K::Ellipse, 11, 10, 18, 16}};
            if (state.musicMuted) note.push_back({K::Line, 2, 2, 18, 18});
            return note;
        }
        case kCmdTopUp:
            return {{K::Line, 1, 7, 5, 16},    {K::Line, 5, 16, 15, 16}, {K::Line, 15, 16, 19, 7},
                    {K::Line, 19, 7, 14, 10},  {K::Line, 14, 10, 6, 10}, {K::Line, 6, 10, 1, 7},
                    {K::Ellipse, 5, 3, 15, 11}};
        case kCmdSupport:
            return {{K::Line, 1, 9, 19, 2},   {K::Line, 19, 2, 15, 18}, {K::Line, 15, 18, 9, 13},
                    {K::Line, 9, 13, 6, 17},  {K::Line, 6, 17, 6, 11},  {K::Line, 6, 11, 1, 9},
                    {K::Line, 6, 11, 15, 6},  {K::Line, 15, 6, 9, 13}};
        default: return {};
    }
}

}  // namespace host

#include "ui/Catalogue.h"

#include "ui/catalogue/Windows.h"

#include <algorithm>
#include <array>
#include <set>

namespace qinglan::ui {

namespace {

struct KindWord {
    Kind kind;
    std::string_view word;
};

// Longer words first where one word begins another is not needed: no kind word is a prefix of
// another, so the first match is the only one.
constexpr std::array<KindWord, 19> kKindWords{{
    {Kind::Button, "按钮"},           {Kind::Label, "标签"},
    {Kind::Edit, "编辑框"},           {Kind::Radio, "单选框"},
    {Kind::Check, "选择框"},          {Kind::Combo, "组合框"},
    {Kind::Slider, "滑块条"},         {Kind::Group, "分组框"},
    {Kind::Picture, "图片框"},        {Kind::Clock, "时钟"},
    {Kind::ListView, "超级列表框"},   {Kind::Shape, "外形框"},
    {Kind::VScroll, "纵向滚动条"},    {Kind::HScroll, "横向滚动条"},
    {Kind::Link, "超级链接框"},       {Kind::Colour, "颜色选择器"},
    {Kind::FileDialog, "通用对话框"}, {Kind::DropTarget, "拖放对象"},
    {Kind::Balloon, "气球提示框"},
}};

} // namespace

std::string_view kindWord(Kind kind) {
    for (const auto& k : kKindWords)
        if (k.kind == kind) return k.word;
    return {};
}

std::optional<Kind> kindOfName(std::string_view name) {
    for (const auto& k : kKindWords) {
        if (!name.starts_with(k.word)) continue;
        const auto number = name.substr(k.word.size());
        if (number.empty() || number.front() == '0') return std::nullopt;
        if (!std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        return k.kind;
    }
    return std::nullopt;
}

bool isNonVisual(Kind kind) {
    return kind == Kind::Clock || kind == Kind::FileDialog || kind == Kind::DropTarget ||
           kind == Kind::Balloon;
}

Size frameAllowance(Frame frame) {
    switch (frame) {
    case Frame::Dialog:
    case Frame::Resizable:
        return {5, 28};
    case Frame::Frameless:
    case Frame::ToolWindow:
        break;
    }
    return {0, 0};
}

Size WindowDesign::clientSize() const {
    const Size a = frameAllowance(frame);
    return {size.width - a.width, size.height - a.height};
}

const ControlDesign* WindowDesign::control(std::string_view name) const {
    for (const auto& c : controls)
        if (c.name == name) return &c;
    return nullptr;
}

const std::vector<const WindowDesign*>& windowDesigns() {
    using namespace catalogue;
    static const std::vector<const WindowDesign*> all = [] {
        std::vector<const WindowDesign*> v{&mainWindow()};
        // The settings window, then the window of every other page.
        for (const auto& page : settings::settingsPages())
            v.push_back(&pageWindowDesign(page.page));
        for (const WindowDesign* w :
             {&networkOpenDialog(), &maximizeButton(), &sidePanel(), &videoListWindow(),
              &promptWindow(), &transcodeWindow(), &aboutWindow(), &floatingControlBar(),
              &volumeWindow(), &minimizeButton(), &skipIntroWindow()})
            v.push_back(w);
        return v;
    }();
    return all;
}

const WindowDesign* findWindowDesign(std::string_view role) {
    for (const auto* w : windowDesigns())
        if (w->role == role) return w;
    return nullptr;
}

std::string_view eventName(EventKind event) {
    switch (event) {
    case EventKind::Created:
        return "created";
    case EventKind::CloseRequested:
        return "close requested";
    case EventKind::Destroying:
        return "being destroyed";
    case EventKind::Moved:
        return "moved";
    case EventKind::Resized:
        return "resized";
    case EventKind::TrayNotified:
        return "tray notification";
    case EventKind::LeftPressed:
        return "left button pressed";
    case EventKind::RightPressed:
        return "right button pressed";
    case EventKind::MouseMoved:
        return "mouse moved";
    case EventKind::Clicked:
        return "clicked";
    case EventKind::Feedback:
        return "feedback";
    case EventKind::TextChanged:
        return "text changed";
    case EventKind::KeyPressed:
        return "key pressed";
    case EventKind::FocusLost:
        return "focus lost";
    case EventKind::ItemChosen:
        return "item chosen";
    case EventKind::TextEdited:
        return "text edited";
    case EventKind::PositionChanged:
        return "position changed";
    case EventKind::WheelTurned:
        return "wheel turned";
    case EventKind::Tick:
        return "tick";
    case EventKind::RowDoubleClicked:
        return "row double-clicked";
    case EventKind::RightClicked:
        return "right-clicked";
    case EventKind::ColourChosen:
        return "colour chosen";
    case EventKind::FilesDropped:
        return "files dropped";
    case EventKind::Chosen:
        return "chosen";
    }
    return {};
}

bool isWindowEvent(EventKind event) {
    switch (event) {
    case EventKind::Created:
    case EventKind::CloseRequested:
    case EventKind::Destroying:
    case EventKind::Moved:
    case EventKind::Resized:
    case EventKind::TrayNotified:
    case EventKind::LeftPressed:
    case EventKind::MouseMoved:
        return true;
    default:
        return false;
    }
}

bool kindRaises(Kind kind, EventKind e) {
    using E = EventKind;
    switch (kind) {
    case Kind::Button:
        return e == E::Clicked;
    case Kind::Label:
        return e == E::LeftPressed || e == E::Feedback;
    case Kind::Edit:
        return e == E::TextChanged || e == E::KeyPressed || e == E::FocusLost;
    case Kind::Radio:
    case Kind::Check:
        return e == E::Clicked;
    case Kind::Combo:
        return e == E::ItemChosen || e == E::TextEdited;
    case Kind::Slider:
        return e == E::PositionChanged;
    case Kind::Group:
        return e == E::LeftPressed;
    case Kind::Picture:
        return e == E::LeftPressed || e == E::RightPressed;
    case Kind::Clock:
        return e == E::Tick;
    case Kind::ListView:
        return e == E::RowDoubleClicked || e == E::RightClicked;
    case Kind::Shape:
        return e == E::LeftPressed;
    case Kind::VScroll:
    case Kind::HScroll:
        return e == E::PositionChanged || e == E::WheelTurned || e == E::RightPressed;
    case Kind::Link:
        return e == E::LeftPressed;
    case Kind::Colour:
        return e == E::ColourChosen;
    case Kind::DropTarget:
        return e == E::FilesDropped;
    case Kind::FileDialog:
    case Kind::Balloon:
        return false;
    }
    return false;
}

std::vector<std::string_view> handlerNames() {
    std::set<std::string_view> names;
    for (const auto& row : wiringTable())
        names.insert(row.handler);
    for (const auto& menu : menuDesigns())
        for (const auto& item : menu.items)
            if (!item.handler.empty()) names.insert(item.handler);
    return {names.begin(), names.end()};
}

} // namespace qinglan::ui

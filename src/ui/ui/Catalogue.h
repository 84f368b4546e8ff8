#pragma once
// The player's windows stated once, as data: every window's role name, title, designed size and
// frame, every control with its name, geometry, caption and initial state, the menus with their
// exact captions, and which handler each event reaches. The widget factory (WindowFactory.h)
// builds Qt widgets from these tables; nothing here depends on Qt.
//
// Geometry. A window's `size` is its designed outer size. Windows with a title bar lose a frame
// allowance of 5 x 28 pixels to the border and title (the settings window is designed at 573 x 555
// around a 568 x 527 client area), so their client area, which is what Qt sizes, is smaller;
// frameless windows are all client area. A control's geometry is relative to the client area of
// its container: the window, or the group box or shape named in `parent`.
//
// Texts are UTF-8 and exact, leading and trailing blanks included.

#include <settings/Rect.h>

#include <optional>
#include <string_view>
#include <vector>

namespace qinglan::ui {

// The one rectangle type of the player: a control's geometry is the same kind of value as a
// stored window's.
using Rect = settings::Rect;

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// A control's kind is the word its name starts with: `按钮1` is a button.
enum class Kind {
    Button,     // 按钮
    Label,      // 标签, also a clickable item and the receiver of feedback notifications
    Edit,       // 编辑框
    Radio,      // 单选框, one exclusive group per container
    Check,      // 选择框
    Combo,      // 组合框, editable, with a fixed item list
    Slider,     // 滑块条
    Group,      // 分组框
    Picture,    // 图片框
    Clock,      // 时钟, no widget; interval 0 = stopped
    ListView,   // 超级列表框, report mode
    Shape,      // 外形框, the scrolled surface of a settings page
    VScroll,    // 纵向滚动条
    HScroll,    // 横向滚动条
    Link,       // 超级链接框
    Colour,     // 颜色选择器
    FileDialog, // 通用对话框, no widget; holds a filter text
    DropTarget, // 拖放对象, no widget; attached to its window
    Balloon,    // 气球提示框, no widget; holds a tip text
};

std::string_view kindWord(Kind kind);
// The kind of a control name ("选择框18" -> Check); empty when the name is not a kind word
// followed by a number.
std::optional<Kind> kindOfName(std::string_view name);
// Kinds that have no widget of their own (timers, dialogs, drop targets, tips).
bool isNonVisual(Kind kind);

enum class Frame {
    Frameless,  // companion windows, hot spots and settings pages: no border, all client area
    Dialog,     // title bar, fixed size
    Resizable,  // title bar, resizable border (the main window)
    ToolWindow, // decorated, resizable, no caption of its own (the video list)
};

// Size of the border and title bar around the client area of a window with this frame.
Size frameAllowance(Frame frame);

struct Range {
    int minimum = 0;
    int maximum = 0;
    int value = 0;
    int pageStep = 0;   // 0: the widget's default
    int singleStep = 0; // 0: the widget's default
};

struct ControlDesign {
    std::string_view name{};
    Rect geometry{};
    std::string_view caption{};            // text; filter for file dialogs; tip for balloons
    std::string_view parent{};             // containing group box or shape; empty = client area
    std::vector<std::string_view> items{}; // combo entries, or list view column headings
    bool hidden = false;
    bool disabled = false;
    bool checked = false;
    bool readOnly = false;
    bool wordWrap = false; // multi-line label text
    Range range{};         // sliders and scroll bars
    int interval = 0;      // clocks, in ms; 0 = stopped
};

struct WindowDesign {
    std::string_view role{};  // MainWindow, SettingsWindow, ... (CatalogueIds.h)
    std::string_view title{}; // empty when the window has none
    Size size{};              // designed outer size
    Frame frame = Frame::Frameless;
    std::vector<ControlDesign> controls{};

    Size clientSize() const;
    const ControlDesign* control(std::string_view name) const;
};

// The 22 windows: the main window, the settings window and its pages, then the companions,
// dialogs and tool windows.
const std::vector<const WindowDesign*>& windowDesigns();
const WindowDesign* findWindowDesign(std::string_view role);

// Menus. Items are listed in order with their nesting level (1 = shown in the popup); an item
// followed by deeper items opens a submenu. A caption of "-" is a separator. Handlers of menu
// items are stated here, with the item, because items are addressed by caption path.
struct MenuItemDesign {
    int level = 1;
    std::string_view caption{};
    std::string_view handler{}; // empty for separators and submenu entries
    bool disabled = false;
    bool checkable = false;
    bool checked = false;
};

struct MenuDesign {
    std::string_view window{}; // owning window's role
    std::string_view name{}; // the top-level entry, never shown itself ("右键菜单", "托盘菜单")
    std::vector<MenuItemDesign> items{};
};

const std::vector<MenuDesign>& menuDesigns();
const MenuDesign* findMenuDesign(std::string_view window, std::string_view name);
inline constexpr std::string_view kSeparator = "-";

// Events. Window events use an empty control name.
enum class EventKind {
    Created,
    CloseRequested, // the handler may refuse; refusing keeps the window
    Destroying,
    Moved,
    Resized,
    TrayNotified, // argument: 1 click, 3 right click
    LeftPressed,
    RightPressed,
    MouseMoved,
    Clicked,
    Feedback, // a notification posted to a label with two integers, delivered later
    TextChanged,
    KeyPressed,
    FocusLost,
    ItemChosen,
    TextEdited,
    PositionChanged, // by the user only; the program's own moves do not count
    WheelTurned,
    Tick,
    RowDoubleClicked,
    RightClicked,
    ColourChosen,
    FilesDropped,
    Chosen, // menu items
};

std::string_view eventName(EventKind event);
// Whether a control of this kind can raise the event.
bool kindRaises(Kind kind, EventKind event);
// Whether a window can raise the event on itself.
bool isWindowEvent(EventKind event);

struct WiringRow {
    std::string_view window{};
    std::string_view control{}; // empty: the window itself
    EventKind event{};
    std::string_view handler{};
};

const std::vector<WiringRow>& wiringTable();

// Every distinct handler name used by the wiring table and the menus, sorted.
std::vector<std::string_view> handlerNames();

// The viewport every settings page is scrolled behind (the pages themselves are
// settings/SettingsPages.h).
inline constexpr int kPageViewportHeight = 527;

} // namespace qinglan::ui

// The page's picture of a dialog, written as JSON.
#include "app/web/dialog_json.h"

#include <cstdio>

#include "app/web/json.h"
#include "platform/dialog.h"

namespace app::web {
namespace {

using platform::ControlKind;

const char* KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
            return "edit";
        case ControlKind::DropDownList:
            return "list";
        case ControlKind::CheckBox:
            return "check";
        case ControlKind::Button:
            return "button";
        case ControlKind::DefaultButton:
            return "default";
        case ControlKind::Static:
            return "label";
        case ControlKind::GroupBox:
            return "group";
        case ControlKind::Picture:
            return "picture";
        case ControlKind::Grid:
            return "grid";
    }
    return "label";
}

void Strings(JsonBuilder& b, const std::vector<std::string>& items) {
    b.Open('[');
    for (const std::string& item : items) {
        b.String(item);
    }
    b.Close(']');
}

void Grid(JsonBuilder& b, const platform::GridData& grid) {
    b.Open('{').Key("current").Number(grid.CurrentRow()).Key("columns").Open('[');
    for (int c = 0; c < grid.ColumnCount(); ++c) {
        const platform::GridColumn& column = grid.Column(c);
        b.Open('{')
            .Key("heading")
            .String(column.heading)
            .Key("unit")
            .String(column.unit)
            .Key("width")
            .Number(column.width)
            .Close('}');
    }
    b.Close(']').Key("rows").Open('[');
    for (int r = 1; r <= grid.RowCount(); ++r) {
        b.Open('[');
        for (int c = 0; c < grid.ColumnCount(); ++c) {
            const platform::GridCell* cell = grid.Cell(r, c);
            if (cell == nullptr) {
                b.Raw("null");
                continue;
            }
            b.Open('{').Key("text").String(cell->text).Key("enabled").Bool(cell->enabled);
            if (cell->background != platform::kDefaultBackground) {
                // A COLORREF holds red in its lowest byte.
                char colour[8];
                std::snprintf(colour, sizeof colour, "#%02x%02x%02x", cell->background & 0xFF,
                              (cell->background >> 8) & 0xFF, (cell->background >> 16) & 0xFF);
                b.Key("background").String(colour);
            }
            if (!cell->note.empty()) {
                b.Key("note").String(cell->note);
            }
            if (!cell->items.empty()) {
                b.Key("items");
                Strings(b, cell->items.List());
            }
            b.Close('}');
        }
        b.Close(']');
    }
    b.Close(']').Close('}');
}

// What the control shows: an edit its text, a list its selected item, the rest a caption.
std::string ControlText(const platform::Control& c) {
    if (c.kind == ControlKind::Edit) {
        return c.text;
    }
    if (c.kind == ControlKind::DropDownList) {
        return c.selection >= 0 && c.selection < static_cast<int>(c.items.size())
                   ? c.items[static_cast<size_t>(c.selection)]
                   : std::string();
    }
    return c.caption;
}

}  // namespace

std::string DialogJson(const platform::Dialog& dialog) {
    JsonBuilder b;
    const platform::Rect client = dialog.GetClientRect();
    b.Open('{')
        .Key("caption")
        .String(dialog.GetWindowText())
        .Key("width")
        .Number(client.Width())
        .Key("height")
        .Number(client.Height())
        .Key("enabled")
        .Bool(dialog.IsWindowEnabled())
        .Key("visible")
        .Bool(dialog.IsWindowVisible())
        .Key("controls")
        .Open('[');
    for (const platform::Control& c : dialog.Controls()) {
        b.Open('{')
            .Key("id")
            .Number(c.id)
            .Key("kind")
            .String(KindName(c.kind))
            .Key("caption")
            .String(c.caption)
            .Key("name")
            .String(dialog.ControlName(c))
            .Key("text")
            .String(ControlText(c))
            .Key("rect")
            .Open('[')
            .Number(c.rect.left)
            .Number(c.rect.top)
            .Number(c.rect.Width())
            .Number(c.rect.Height())
            .Close(']')
            .Key("visible")
            .Bool(c.visible)
            .Key("enabled")
            .Bool(c.enabled)
            .Key("checked")
            .Bool(c.checked);
        if (c.kind == ControlKind::DropDownList) {
            b.Key("items");
            Strings(b, c.items);
            b.Key("selection").Number(c.selection);
        }
        if (c.kind == ControlKind::Grid) {
            b.Key("grid");
            Grid(b, c.grid);
        }
        b.Close('}');
    }
    b.Close(']').Close('}');
    return b.Text();
}

}  // namespace app::web

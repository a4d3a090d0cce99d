#include "ui/list_view_control.h"

#include <commctrl.h>

#include "runtime/text_encoding.h"

namespace ui {

ListViewControl::ListViewControl() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
}

bool ListViewControl::create_list(HWND parent, int id, int x, int y, int width, int height) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS;
  if (!create(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, x, y, width, height, parent,
              reinterpret_cast<HMENU>(intptr_t(id))))
    return false;
  ListView_SetExtendedListViewStyle(handle(), LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  return true;
}

void ListViewControl::add_column(std::string_view title, int width) const {
  std::wstring text = rt::widen(title);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = text.data();
  column.cx = width;
  int count = Header_GetItemCount(ListView_GetHeader(handle()));
  SendMessageW(handle(), LVM_INSERTCOLUMNW, WPARAM(count < 0 ? 0 : count),
               reinterpret_cast<LPARAM>(&column));
}

void ListViewControl::set_row_count(int rows) const {
  ListView_SetItemCountEx(handle(), rows, LVSICF_NOSCROLL);
  invalidate();
}

int ListViewControl::selected_row() const {
  return ListView_GetNextItem(handle(), -1, LVNI_SELECTED);
}

std::vector<int> ListViewControl::selected_rows() const {
  std::vector<int> rows;
  for (int row = selected_row(); row >= 0; row = ListView_GetNextItem(handle(), row, LVNI_SELECTED))
    rows.push_back(row);
  return rows;
}

LRESULT ListViewControl::child_notify(HWND, HWND, int code, int, NMHDR* header) {
  // The list asks in wide characters, as its parent is a Unicode window.
  if (code == int(LVN_GETDISPINFOW) && on_cell_text_ && header) {
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
    if ((info->item.mask & LVIF_TEXT) && info->item.iItem >= 0 && info->item.cchTextMax > 0) {
      std::wstring text = rt::widen(on_cell_text_(info->item.iItem, info->item.iSubItem));
      lstrcpynW(info->item.pszText, text.c_str(), info->item.cchTextMax);
    }
  }
  if (code == int(NM_DBLCLK) && on_double_click_) on_double_click_();
  if (code == int(NM_CUSTOMDRAW) && header) return highlighted_selection(header);
  return 0;
}

// The chosen row in the highlight colours whether or not the list has the
// focus: a seller who chose a row and moved to a button still sees which.
LRESULT ListViewControl::highlighted_selection(NMHDR* header) const {
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return 0;
  int row = int(draw->nmcd.dwItemSpec);
  if (!(ListView_GetItemState(handle(), row, LVIS_SELECTED) & LVIS_SELECTED)) return 0;
  draw->nmcd.uItemState &= ~UINT(CDIS_SELECTED | CDIS_FOCUS);
  draw->clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
  draw->clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
  return CDRF_NEWFONT;
}

}  // namespace ui

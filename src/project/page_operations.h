#pragma once

// Adding, renaming, deleting, reordering and switching pages. A page is a row
// of PAGELIST (its position is its index) plus the sections
// "PROPERTY:<page>" and "FILELIST:<page>". These operations keep the page
// list window in step.

#include <string_view>

#include "project/project.h"

namespace piconel {

// Inserts a page named "page%03d" with the lowest number no PAGELIST row
// holds, before the page at `position` (at the end for -1 or a position past
// the last page). Its PAGELABEL is the name in upper case. The page list gets
// a row for it. False without a store or when the project already holds 256
// pages. The current page, the entries and the modified flag stay as they
// are.
[[nodiscard]] bool new_page(Project& project, int position);

// The page list's "new page" command: synchronises the current page, inserts
// a page before `clicked_index` (at the end for -1), makes it current, loads
// it, selects its row and marks the project modified. False when no page was
// added.
bool new_page_command(Project& project, int clicked_index);

// Renames page `index` (-1: the current page); the caller has checked the
// name with check_page_name. Both sections keep their places; PAGELABEL keeps
// its value. True and nothing changed without a store, for an index that
// names no page, or for the page's own name. False when another page has
// that name, and also (nothing changed) for an empty name or one longer than
// 30 bytes. The page list row is the caller's to update.
[[nodiscard]] bool rename_page(Project& project, int index, std::string_view new_name);

// rename_page with the reason of a refusal, for callers that answer a taken
// name differently from one the rule does not allow.
enum class PageRename {
  Renamed,
  Unchanged,       // no store, no such page, or the page's own name
  NameTaken,       // another page has that name
  NameNotAllowed,  // empty or longer than 30 bytes
};
[[nodiscard]] PageRename try_rename_page(Project& project, int index, std::string_view new_name);

// Asks "ページ(%s)を削除しますか？" through `owner`; on Yes removes the page,
// its sections and its row. When it was the current page the page that moved
// into its index becomes current (the one before it when it was the last;
// -1 when none is left) and is loaded; the deleted page's entries are
// dropped, not synchronised. Marks the project modified. True when deleted.
bool delete_page(Project& project, int index, Prompter& owner);

// Swap page `index` (-1: the page list's focused row; nothing at all when
// none) with its neighbour below or above. Only PAGELIST changes; the current
// page index follows the page. The project is marked modified also when the
// page was already last (first) and did not move.
void move_page_down(Project& project, int index);
void move_page_up(Project& project, int index);

// Rebuilds every row of the page list from PAGELIST in order (text and
// columns) and selects the current page's row. Nothing when the window is
// closed. Used by the open and when the window is created.
void fill_page_list(Project& project);

// Makes page `index` (-1: the page list's focused row) current: synchronises
// the old page, selects the new row and loads the page. Nothing when the
// index is already current or names no page.
void select_page(Project& project, int index);

}  // namespace piconel

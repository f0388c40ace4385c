// The editing commands on a survey's item list: add, delete, move, cut, copy,
// paste, apply a response template and the skip-group commands. The main
// window forwards its selection here and redraws afterwards.
//
// A selection is the sorted list of selected line indexes, which are the item
// indexes. Confirmations go through the prompts and the suppressible
// warnings of the settings store; every command goes on only on Yes and
// changes nothing otherwise.
//
// The editor holds references to the open survey, the clipboard survey, the
// prompts and the settings store, all owned by the caller and outliving it.
// Thread-safety: none.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvant {

class Prompts;
class SettingsStore;
class TSurvey;

// The fields of a new or edited item, as the question and header editors
// give them back.
struct ItemFields {
  std::string text;
  int style = 1;
  int step = 0;
  int max = 0;
  int min = 0;
  bool include_other = false;
  int length = -1;
  std::string options;    // comma text
  bool required = false;  // ignored for headers
};

// Overwrites the item at index with the fields, "Answer required" included.
void UpdateItemFields(TSurvey& survey, int index, const ItemFields& fields);

// The question asked before `count` selected items are deleted.
std::string DeleteItemsQuestion(size_t count);

// The plain-text form of item `index` that goes to the system clipboard.
using ItemTextRenderer = std::function<std::string(const TSurvey& survey, int index)>;

class SurveyEditing {
 public:
  SurveyEditing(TSurvey& survey, TSurvey& clipboard, Prompts& prompts, SettingsStore& settings);

  // True at once for a survey that was never generated; otherwise the answer
  // to the "ChangesToPublishedSurvey" warning.
  bool ConfirmChangePublished();

  // Inserts after the focused line when exactly one line is selected, else
  // appends. Returns the new item's index.
  int AddItem(const ItemFields& fields, const std::vector<int>& selected, int focused);

  // Asks, then deletes the selected items. Returns the line to select
  // afterwards (the focused line, or the last line when that is gone; -1
  // for an empty survey), or nothing when the person declined.
  std::optional<int> DeleteSelected(const std::vector<int>& selected, int focused);

  // Moves every selected item one place; adjacent ones move as a block.
  // Asks first when the survey holds any skip group. Returns the new
  // selection, or nothing when the person declined.
  std::optional<std::vector<int>> MoveSelectedUp(const std::vector<int>& selected);
  std::optional<std::vector<int>> MoveSelectedDown(const std::vector<int>& selected);

  // Refills the clipboard survey with plain copies of the selected items and
  // returns their plain-text rendering for the system clipboard.
  std::string CopyItems(const std::vector<int>& selected, const ItemTextRenderer& render);
  // CopyItems, then deletes the selected items without asking.
  std::string CutItems(const std::vector<int>& selected, const ItemTextRenderer& render);
  // Appends copies of the clipboard survey's items with new IDs; returns
  // their indexes. The clipboard survey keeps its items.
  std::vector<int> PasteItems();

  // Asks, then replaces the options of the selected choice questions with
  // the template's values; other items are left alone. Returns how many
  // items changed.
  int ApplyResponseTemplate(const std::vector<int>& selected, const std::string& title,
                            const std::vector<std::string>& values);

  // Asks twice (published survey, then "UngroupSkipGroup") and dissolves the
  // skip group around the selection. False when the person declined.
  bool UngroupSelected(const std::vector<int>& selected);

 private:
  bool Warn(const std::string& text, std::string_view key);
  bool ConfirmMove();
  std::optional<std::vector<int>> MoveSelected(const std::vector<int>& selected, int step);
  void DeleteItems(const std::vector<int>& selected);

  TSurvey& survey_;
  TSurvey& clipboard_;
  Prompts& prompts_;
  SettingsStore& settings_;
};

}  // namespace quorvant

// TemplateManager: what the template manager window works on. It lists the
// response templates (by title) or the display templates (by bare file
// name) of the data directory, shows the contents of one, and writes edited
// contents back when that template is left: before another type or
// template is shown, before a new template is made, and when the window
// closes.
//
// The contents of a response template are its option lines, one per line;
// those of a display template are the file's text. Messages go through the
// prompts; the manager stays usable after each of them.
//
// Holds a reference to the prompts, which must outlive it. Thread-safety:
// none.
#pragma once

#include <string>
#include <vector>

namespace quorvant {

class Prompts;

class TemplateManager {
 public:
  enum Type { kResponseTemplates = 0, kDisplayTemplates = 1 };

  // data_dir ends in "/". Nothing is listed until ChooseType().
  TemplateManager(Prompts& prompts, std::string data_dir);

  // Writes pending edits back, lists the templates of that type in
  // directory order and shows the first one (none when the list is empty).
  void ChooseType(int type);
  // Writes pending edits back and shows the template at that position.
  void Choose(int position);

  int CurrentType() const { return type_; }
  const std::vector<std::string>& Paths() const { return paths_; }
  const std::vector<std::string>& Names() const { return names_; }
  // The position of the template shown, -1 when none is.
  int Shown() const { return shown_; }
  const std::string& Contents() const { return contents_; }

  // The contents box changed: the template shown is written back when left.
  void SetContents(std::string contents);
  bool Edited() const { return edited_; }
  // Writes the contents of the template shown back to its file when they
  // were edited, then clears the edited mark.
  void WriteBack();

  // A new response template titled `name`, in the next free "rtemp" + i +
  // ".qvt" file, listed and shown. A blank name or a title already listed
  // with the same letter case is refused with a message. Returns the new
  // position, -1 when nothing was made. Pending edits are written first.
  int CreateResponseTemplate(const std::string& name);
  // A new empty display template at the chosen path (".qvg" appended unless
  // its extension already is ".qvg" in any letter case), listed and shown.
  // An existing file is refused with a message. Returns the new position,
  // -1 when nothing was made. Pending edits are written first.
  int CreateDisplayTemplate(const std::string& chosen_path);
  // Asks, then deletes the template shown (its pending edits dropped), lists
  // the type again and shows its first entry. True when a file was deleted.
  bool DeleteShown();

 private:
  void Show(int position);
  void WriteBackResponseTemplate();
  void WriteBackDisplayTemplate();

  Prompts& prompts_;
  std::string data_dir_;
  int type_ = kResponseTemplates;
  std::vector<std::string> paths_;
  std::vector<std::string> names_;
  int shown_type_ = kResponseTemplates;
  int shown_ = -1;
  std::string contents_;
  bool edited_ = false;
  bool unreadable_ = false;  // the template shown could not be loaded
};

// The chosen name of a new display template with ".qvg" appended unless its
// extension is ".qvg" in any letter case.
std::string WithDisplayTemplateExtension(const std::string& chosen);

// The lines of a contents box: split at line breaks, one final empty line
// (a trailing line break) dropped; an empty text has no lines.
std::vector<std::string> ContentLines(const std::string& text);

}  // namespace quorvant

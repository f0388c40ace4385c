#include "core/webpage/answer_checks.h"

#include <vector>

#include "core/survey/survey.h"

namespace quorvant {
namespace {

// The browser part. `boxes` lists the required Multiple Choice questions by
// ID; `groups` each skip group holding a required question as [head ID,
// the head's skipping option, member IDs]. A question the respondent was
// told to skip needs no answer; every other listed one keeps what the page
// demands of it.
constexpr char kScriptBody[] = R"(function named(id) {
  return document.querySelectorAll('[name="qvx' + id + '"], [name^="qvx' + id + '-"]');
}
function skipped(id) {
  for (var g = 0; g < groups.length; ++g) {
    if (groups[g][2].indexOf(id) < 0) continue;
    var head = document.getElementsByName('qvx' + groups[g][0]);
    for (var i = 0; i < head.length; ++i) {
      if (head[i].checked && head[i].value === groups[g][1]) return true;
    }
  }
  return false;
}
var marked = [];
for (var g = 0; g < groups.length; ++g) {
  for (var m = 0; m < groups[g][2].length; ++m) {
    var inputs = named(groups[g][2][m]);
    for (var i = 0; i < inputs.length; ++i) {
      if (inputs[i].required) marked.push([inputs[i], groups[g][2][m]]);
    }
  }
}
function check() {
  for (var i = 0; i < marked.length; ++i) marked[i][0].required = !skipped(marked[i][1]);
  for (var b = 0; b < boxes.length; ++b) {
    var all = named(boxes[b]), first = null, ticked = skipped(boxes[b]);
    for (var j = 0; j < all.length; ++j) {
      if (all[j].type !== 'checkbox') continue;
      if (!first) first = all[j];
      if (all[j].checked) ticked = true;
      all[j].setCustomValidity('');
    }
    if (first && !ticked) first.setCustomValidity('Please tick at least one box.');
  }
}
document.addEventListener('change', check);
check();
})();
</SCRIPT>
)";

bool NeedsAnswer(const TQuestion& item) { return item.Required && !item.IsHeader(); }

// "[a, b, c]" of the IDs.
std::string IdList(const std::vector<int>& ids) {
  std::string out = "[";
  for (size_t i = 0; i < ids.size(); ++i) {
    if (i > 0) out += ", ";
    out += std::to_string(ids[i]);
  }
  return out + "]";
}

// The skip groups that hold a required question, as the script lists them.
std::vector<std::string> GroupsWithRequiredMembers(const TSurvey& survey) {
  std::vector<std::string> groups;
  for (const TQuestion& head : survey.Items()) {
    if (head.SkipGroupOfResponse == -1) continue;
    std::vector<int> members;
    bool required = false;
    for (const TQuestion& item : survey.Items()) {
      if (item.SkipGroupOfQuestion != head.ID) continue;
      members.push_back(item.ID);
      required = required || NeedsAnswer(item);
    }
    if (!required) continue;
    groups.push_back("[" + std::to_string(head.ID) + ", \"" +
                     std::to_string(head.SkipGroupOfResponse) + "\", " + IdList(members) + "]");
  }
  return groups;
}

}  // namespace

std::string RequiredAttribute(const TQuestion& item) {
  return NeedsAnswer(item) && item.Style != kStyleMultipleChoice ? " REQUIRED" : "";
}

std::string RequiredMarker(const TQuestion& item) {
  return NeedsAnswer(item) ? "<SPAN CLASS=\"qvxrequired\" TITLE=\"Answer required\"> *</SPAN>" : "";
}

std::string AnswerCheckScript(const TSurvey& survey) {
  std::vector<int> boxes;
  for (const TQuestion& item : survey.Items()) {
    if (NeedsAnswer(item) && item.Style == kStyleMultipleChoice) boxes.push_back(item.ID);
  }
  const std::vector<std::string> groups = GroupsWithRequiredMembers(survey);
  if (boxes.empty() && groups.empty()) return "";
  std::string group_list = "[";
  for (size_t i = 0; i < groups.size(); ++i) group_list += (i > 0 ? ", " : "") + groups[i];
  group_list += "]";
  return "<SCRIPT>\r\n(function () {\r\nvar boxes = " + IdList(boxes) +
         ";\r\nvar groups = " + group_list + ";\r\n" + kScriptBody;
}

}  // namespace quorvant

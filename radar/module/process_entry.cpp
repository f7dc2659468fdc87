// One processing step without the desktop: an export of the module beyond
// its function list, looked up by name by the command-line host
// (delvar-cli process). It runs a step on one version of a profile of the
// open project and writes the new version, or nothing when the step, its
// parameters or the version do not fit.
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "delvar/module.h"
#include "display/profile_window_rules.h"  // tabLabel
#include "processing/process_version.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/selection.h"
#include "project/tree_items.h"

namespace quv {
namespace {

int report(char* out, int size, const std::string& text, int rc) {
  if (out && size > 0) std::snprintf(out, size_t(size), "%s", text.c_str());
  return rc;
}

}  // namespace
}  // namespace quv

using namespace quv;

// 0 with the new version's tab label in `label` ("T2(T1) dewow 10 ns"),
// -1 with the reason in `error` (nothing is written then).
DV_EXPORT int QuvProcessProfile(const char* profile, const char* stepKey, int count,
                                const char* const* parameters, const char* version, char* label,
                                int labelSize, char* error, int errorSize) {
  auto fail = [&](const std::string& why) { return report(error, errorSize, why, -1); };
  if (!profile || !stepKey) return fail("no profile or step given");
  ProfileItem* item = nullptr;
  for (DvHandle it : childItems(profileFolder()))
    if (::strcasecmp(treeName(it).c_str(), profile) == 0) item = profileOf(it);
  if (!item || !item->header) return fail(std::string("the project has no profile \"") + profile + "\"");
  rebuildVersionList(*item);
  ProfileVersion* v = nullptr;
  if (version && *version) {
    int kind = 0, number = 0;
    if (!parseVersionText(version, kind, number))
      return fail(std::string("\"") + version + "\" is not a version (T1, D1, E1, ...)");
    v = findVersion(*item, kind, number);
    if (!v) return fail("profile \"" + treeName(item->tree) + "\" has no version " + versionName(kind, number));
  } else if (!(v = shownVersion(*item))) {
    return fail("profile \"" + treeName(item->tree) + "\" has no version");
  }
  ProcessStep step;
  if (!findStep(stepKey, v->timeIncrement, step))
    return fail(std::string("\"") + stepKey + "\" is not a step; the steps are " + stepKeys());
  step = stepFor(step.kind, *item, *v);
  const std::vector<std::string> words(parameters, parameters + std::max(count, 0));
  std::string problem = assignParameters(step, words);
  if (problem.empty()) problem = parameterProblem(step, v->timeIncrement);
  if (problem.empty()) problem = versionProblem(step, *v);
  if (!problem.empty()) return fail(problem);
  ProfileVersion* made = processVersion(*item, *v, step);
  if (!made) return fail(std::string(step.title) + ": the new version of " + treeName(item->tree) +
                         " could not be written (see the messages above)");
  return report(label, labelSize, tabLabel(*made), 0);
}

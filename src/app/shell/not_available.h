// The information shown by commands whose windows come in a later version.
#pragma once

namespace quorvant::app {

inline constexpr char kNotAvailableYetText[] =
    "This feature is not available yet in this version of Quorvant.";

}  // namespace quorvant::app

// Addresses of the vendor's own services. Example domains until the product
// has its own.
#pragma once

#include <string_view>

namespace quorvant::vendor {

// The collection program of the vendor's collection service, used by surveys
// whose responses the vendor processes.
inline constexpr std::string_view kCollectionServerURL = "https://collect.quorvant.example/qvx.dll";
inline constexpr std::string_view kWebSite = "https://www.quorvant.example/";
// The update page, to be followed by the version as "major.minor.build".
inline constexpr std::string_view kUpdatePage = "https://www.quorvant.example/admin.dll?Version=";
inline constexpr std::string_view kSupportPage = "https://www.quorvant.example/support";

}  // namespace quorvant::vendor

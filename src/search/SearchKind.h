#pragma once

namespace vendra {

// Which of the four searches runs, or ran last.
enum class SearchKind { None, Keyword, Category, Featured, Completed };

}  // namespace vendra

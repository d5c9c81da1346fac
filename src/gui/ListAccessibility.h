#pragma once

namespace vendra {

// Screen readers on Linux get a drop-down list's current entry as its name, so a list that has
// no label beside it cannot be found by what it is for. From this call on, a list with an
// accessible name is announced by that name, its current entry being its value.
void NameListsByTheirPurpose();

}  // namespace vendra

#pragma once

#include <cstdint>

// The keyboard focus between our island and the other applications' windows
// on X11. The island takes the keyboard only while it is open; on closing it
// hands it back to whichever window had it, as a non-activating panel would.
// Outside X11 both do nothing.
namespace X11Focus {

// The window that has the keyboard now (0: none, or not X11).
std::uint32_t current();
// Gives the keyboard back to `window` from current(): through the window
// manager when there is one, else directly; to the window under the pointer
// when `window` is gone.
void giveTo(std::uint32_t window);

}

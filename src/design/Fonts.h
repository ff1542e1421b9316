#pragma once

// The typefaces the design uses ("Funnel Display", "Funnel Sans").
namespace Fonts {
// Registers every .ttf file of the fonts resource folder for this process,
// once, before any view is shown. Files that fail to load are skipped.
void registerAll();
}

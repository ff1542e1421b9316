#include "notch/NotchQml.h"

#include "design/DesignQml.h"

// Generated with the module; naming it links the module into the program.
void qml_register_types_Korvanta_Notch();

void registerNotchQml()
{
    registerDesignQml();
    [[maybe_unused]] volatile auto keep = &qml_register_types_Korvanta_Notch;
}

#include "design/DesignQml.h"

// Generated with the module; naming it here links the module's types and
// files into every program that calls registerDesignQml().
void qml_register_types_Korvanta_Design();

void registerDesignQml()
{
    [[maybe_unused]] volatile auto keep = &qml_register_types_Korvanta_Design;
}

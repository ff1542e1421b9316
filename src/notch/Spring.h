#pragma once

#include <QMetaType>

// The spring an animated change uses, given as the view's animation needs
// it: response (seconds) and damping fraction, no blend.
struct Spring {
    Q_GADGET
    Q_PROPERTY(double response MEMBER response)
    Q_PROPERTY(double damping MEMBER damping)
public:
    double response = 0.5;
    double damping = 0.8;

    friend bool operator==(const Spring &, const Spring &) = default;
};

namespace Springs {
inline const Spring expand{0.48, 0.8};
inline const Spring collapse{0.42, 0.9};
inline const Spring share{0.5, 0.82};
inline const Spring hover{0.3, 0.7};
inline const Spring momentIn{0.5, 0.74};
inline const Spring settle{0.45, 0.9};  // into afterglow and back to rest
inline const Spring numbers{0.45, 0.8}; // the rest figures counting up
}

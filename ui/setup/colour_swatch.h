#pragma once

#include <QFrame>

#include "settings/appearance.h"

namespace kestrin {

/// A sunken box filled with one colour: shows an appearance element's current colour.
class ColourSwatch : public QFrame {
    Q_OBJECT

public:
    /// An empty (black) swatch.
    explicit ColourSwatch(QWidget* parent = nullptr);

    /// Shows `colour` from the next paint on.
    void SetColour(Rgb colour);
    /// The colour shown.
    Rgb Colour() const { return colour_; }

protected:
    /// Fills the box with the colour, then draws the sunken border over its edge.
    void paintEvent(QPaintEvent* event) override;

private:
    Rgb colour_;
};

}  // namespace kestrin

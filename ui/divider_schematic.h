#pragma once

#include "request/divider_details.h"

#include <QWidget>

#include <optional>

namespace tarnel {

// The chosen divider drawn as on a schematic: the top of the chain, the high
// arm, the tap with its voltage, the low arm and ground, each resistor with
// its marking, voltage and power, and the current beside the chain. It only
// places what calc's DividerSchematic words; it is drawn with the palette's
// colours and sized from the font, so it reads in any theme and at any size.
class DividerSchematicView final : public QWidget {
    Q_OBJECT

public:
    explicit DividerSchematicView(QWidget* parent = nullptr);

    // None draws nothing: no line is chosen.
    void setSchematic(std::optional<DividerSchematic> schematic);
    [[nodiscard]] const std::optional<DividerSchematic>& schematic() const { return schematic_; }

    // Room for the divider drawn, and for the tallest, two resistors in each arm in series.
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::optional<DividerSchematic> schematic_;
};

} // namespace tarnel

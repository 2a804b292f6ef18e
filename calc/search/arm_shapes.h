#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>

namespace tarnel {

enum class ArmKind { Single, Series, Parallel };

inline constexpr std::array<ArmKind, 3> armKinds{ArmKind::Single, ArmKind::Series, ArmKind::Parallel};

[[nodiscard]] constexpr std::size_t resistorsIn(ArmKind kind) { return kind == ArmKind::Single ? 1 : 2; }

// The shapes one arm may take: one resistor, two in series, two in parallel.
class ArmShapes {
public:
    constexpr ArmShapes() = default;
    constexpr ArmShapes(std::initializer_list<ArmKind> kinds)
    {
        for (const ArmKind kind : kinds)
            allow(kind);
    }
    [[nodiscard]] static constexpr ArmShapes every() { return {ArmKind::Single, ArmKind::Series, ArmKind::Parallel}; }

    [[nodiscard]] constexpr bool allows(ArmKind kind) const { return allowed_[static_cast<std::size_t>(kind)]; }
    [[nodiscard]] constexpr bool any() const { return allowed_[0] || allowed_[1] || allowed_[2]; }
    constexpr void allow(ArmKind kind, bool allowed = true) { allowed_[static_cast<std::size_t>(kind)] = allowed; }

    constexpr bool operator==(const ArmShapes&) const = default;

private:
    std::array<bool, armKinds.size()> allowed_{};
};

} // namespace tarnel

#include "qx/locale/units.h"

#include <algorithm>
#include <iterator>

#include "qx/locale/ctr_string.h"

namespace qxUnits {
namespace {

struct UnitLabel {
    enUnit unit;
    const wchar_t* key;  // translated through the wordbooks
    bool fixed;          // shown as it stands
};

constexpr UnitLabel Key(enUnit unit, const wchar_t* key) { return {unit, key, false}; }
constexpr UnitLabel Fixed(enUnit unit, const wchar_t* text) { return {unit, text, true}; }

// Sorted by code.
constexpr UnitLabel kLabels[] = {
    // length
    Key(1010, L"@Einheit Meter@m"), Key(1020, L"@Einheit Dezimeter@dm"), Key(1030, L"@Einheit Zentimeter@cm"),
    Key(1040, L"@Einheit Millimeter@mm"), Key(1050, L"@Einheit Yard@yd"), Key(1060, L"@Einheit Fuß@ft"),
    Fixed(1070, L"-"),
    // area
    Key(1110, L"@Einheit Meter@m²"), Key(1120, L"@Einheit Dezimeter@dm²"), Key(1130, L"@Einheit Zentimeter@cm²"),
    Key(1140, L"@Einheit Millimeter@mm²"), Key(1150, L"@Einheit Yard@yd²"), Key(1160, L"@Einheit Fuß@ft²"),
    Fixed(1170, L"in²"),
    // volume
    Key(1310, L"@Einheit Meter@m³"), Key(1320, L"@Einheit Dezimeter@dm³"), Key(1330, L"@Einheit Zentimeter@cm³"),
    Key(1340, L"@Einheit Millimeter@mm³"), Key(1350, L"@Einheit Yard@yd³"), Key(1360, L"@Einheit Fuß@ft³"),
    Fixed(1370, L"in³"),
    // temperature
    Key(3010, L"@Einheit Kelvin@K"), Key(3020, L"@Einheit Grad Celsius@°C"), Key(3030, L"@Einheit Grad Fahrenheit@°F"),
    Key(3040, L"@Einheit Grad Celsius@°C"),
    Key(3110, L"@Einheit Kelvin@K"), Key(3120, L"@Einheit Grad Celsius@°C"), Key(3130, L"@Einheit Grad Fahrenheit@°F"),
    Key(3140, L"@Einheit Grad Rankine@°R"),
    // power
    Key(4010, L"@Einheit Megawatt@MW"), Key(4020, L"@Einheit Kilowatt@kW"), Key(4030, L"@Einheit Watt@W"),
    Key(4040, L"@Einheit@kcal/h"), Key(4050, L"@Einheit@cal/s"), Key(4060, L"@Einheit@Btu/h"),
    Key(4070, L"@Einheit@Btu/s"),
    // heat flux
    Key(4120, L"@Einheit Kilowatt pro m2@kW/m²"), Key(4130, L"@Einheit Watt pro m2@W/m²"),
    Key(4140, L"@Einheit Watt pro cm2@W/cm²"), Key(4150, L"@Einheit @kcal/(m²h)"), Key(4160, L"@Einheit @kcal/(ft²h)"),
    Key(4170, L"@Einheit @Btu/(ft²h)"), Key(4180, L"@Einheit @Btu/(ft²s)"),
    // thermal conductivity
    Key(5010, L"@Einheit Watt pro mK@W/(mK)"), Key(5020, L"@Einheit @cal/(cm*s*°C)"),
    Key(5030, L"@Einheit @kcal/(m*h*°C)"), Key(5040, L"@Einheit @kcal/(ft*h*°C)"),
    Key(5050, L"@Einheit @Btu/(ft*h*°F)"), Key(5060, L"@Einheit @Btu/(ft*s*°F)"),
    // heat transfer coefficient
    Key(5110, L"@Einheit Watt pro m2K@W/(m²K)"), Key(5120, L"@Einheit @kcal/(m²h*°C)"),
    Key(5130, L"@Einheit @kcal/(ft²h*°C)"), Key(5140, L"@Einheit @Btu/(ft²*h*°F)"),
    Key(5150, L"@Einheit @Btu/(ft²s*°F)"),
    // thermal resistance
    Key(5210, L"@Einheit m2K pro Watt@(m²K)/W"), Key(5220, L"@Einheit @(m²h*°C)/kcal"),
    Key(5230, L"@Einheit @(ft²h*°C)/kcal"), Key(5240, L"@Einheit @(ft²*h*°F)/Btu"),
    Key(5250, L"@Einheit @(ft²s*°F)/Btu"),
    // specific heat capacity
    Key(6010, L"@Einheit @kJ/(kg*K)"), Key(6020, L"@Einheit @kJ/(kg*°C)"), Key(6030, L"@Einheit @Wh/(kg*K)"),
    Key(6040, L"@Einheit @Wh/(kg*°C)"), Key(6050, L"@Einheit @Btu/(lb*°F)"), Key(6060, L"@Einheit @Btu/(lb*°R)"),
    // power per volume
    Key(7010, L"@Einheit @W/m³"), Key(7020, L"@Einheit @W/ft³"), Key(7030, L"@Einheit @kJ/(m³*s)"),
    Key(7040, L"@Einheit @kJ/(ft³*s)"), Key(7050, L"@Einheit @Btu/(m³*h)"), Key(7060, L"@Einheit @Btu/(ft³*h)"),
    // volume flow
    Key(7110, L"@Einheit @m³/h"), Key(7120, L"@Einheit @m³/s"), Key(7130, L"@Einheit @ft³/h"),
    Key(7140, L"@Einheit @ft³/s"), Key(7150, L"@Einheit @yd³/h"), Key(7160, L"@Einheit @yd³/s"),
    Key(7170, L"@Einheit @gal(US)/h"), Key(7180, L"@Einheit @gal(US)/min"), Key(7190, L"@Einheit @gal(US)/s"),
    Key(7210, L"@Einheit @gal(UK)/h"), Key(7220, L"@Einheit @gal(UK)/min"), Key(7230, L"@Einheit @gal(UK)/s"),
    // mass flow
    Key(7310, L"@Einheit @kg/h"), Key(7320, L"@Einheit @kg/min"), Key(7330, L"@Einheit @kg/s"),
    Key(7340, L"@Einheit @lb/h"), Key(7350, L"@Einheit @lb/min"), Key(7360, L"@Einheit @lb/s"),
    // time
    Key(8010, L"@Einheit Stunde@ h"), Key(8020, L"@Einheit Minute@ m"), Key(8030, L"@Einheit Sekunde@ s"),
    // pressure
    Key(9010, L"@Einheit pascal@pa"), Key(9020, L"@Einheit @N/m²"), Key(9030, L"@Einheit bar@bar"),
    Key(9040, L"@Einheit mbar@mbar"), Key(9050, L"@Einheit torr@Torr"), Key(9060, L"@Einheit psi@psi"),
    Key(9070, L"@Einheit Meter@m"),
    // density
    Key(9110, L"@Einheit @kg/m³"), Key(9120, L"@Einheit @kg/cm³"), Key(9130, L"@Einheit @kg/L"),
    Key(9140, L"@Einheit @lb/ft³"), Key(9150, L"@Einheit @lb/yd³"),
    // velocity
    Key(9210, L"@Einheit @m/s"), Key(9220, L"@Einheit @ft/s"), Key(9230, L"@Einheit @yd/s"),
};

static_assert(std::is_sorted(std::begin(kLabels), std::end(kLabels),
                             [](const UnitLabel& a, const UnitLabel& b) { return a.unit < b.unit; }));

}  // namespace

const wchar_t* getUnitLabel(enUnit unit) {
    auto it = std::lower_bound(std::begin(kLabels), std::end(kLabels), unit,
                               [](const UnitLabel& label, enUnit code) { return label.unit < code; });
    if (it == std::end(kLabels) || it->unit != unit) return L"";
    return it->fixed ? it->key : CtrString::translate(it->key);
}

}  // namespace qxUnits

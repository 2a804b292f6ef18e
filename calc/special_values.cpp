#include "special_values.h"

#include "decimal_bounds.h"
#include "result_list.h"
#include "search_params.h"

namespace tarnel {

SpecialValueTable specialValueTable;

void specValsInit(const CheckField& chk, EditField& edit, std::size_t slotIndex, ResultList& list,
                  const NumberText& numbers)
{
    double& listed = specialValueTable.listedValues.at(slotIndex);
    double& excluded = specialValueTable.excludedValues.at(slotIndex);
    switch (chk.state()) {
    case CheckState::Unchecked:
        excluded = readValueField(edit, numbers);
        listed = unusedSpecialValue;
        break;
    case CheckState::Checked:
        excluded = unusedSpecialValue;
        listed = readValueField(edit, numbers);
        break;
    case CheckState::Grayed:
        excluded = unusedSpecialValue;
        listed = unusedSpecialValue;
        // Not read, so no longer red from an earlier run.
        edit.showStatus(FieldStatus::NotRead);
        break;
    case CheckState::Unknown:
        inputsValid = false;
        list.addMessage(badCheckStateMessage);
        break;
    }
}

bool specialValueMatches(double slotValue, double resistor)
{
    return slotValue != unusedSpecialValue && sameDecimal(slotValue, resistor);
}

SpecialValueClass specValClassify(double x)
{
    bool anyListed = false;
    bool isListed = false;
    for (std::size_t i = 0; i < specialSlotCount; ++i) {
        if (specialValueTable.listedValues[i] != unusedSpecialValue)
            anyListed = true;
        if (specialValueMatches(specialValueTable.listedValues[i], x))
            isListed = true;
        if (specialValueMatches(specialValueTable.excludedValues[i], x))
            return SpecialValueClass::Excluded;
    }
    return anyListed && !isListed ? SpecialValueClass::Unlisted : SpecialValueClass::Ok;
}

} // namespace tarnel

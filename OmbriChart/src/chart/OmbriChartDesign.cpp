// OmbriChart's design-time demonstration: three series over the demonstration records.

#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "OmbriChart/OmbriChartInternalChartData.h"

void OmbriChart::prepareForInterfaceBuilder() {
    setIsAnimated(false);
    setBindingX("name");
    const auto self = sharedAs<OmbriChart>();
    _series->addObject(plat::Value(KivoSeries::create(self, "sales, sales", "Sales")));
    _series->addObject(plat::Value(KivoSeries::create(self, "expenses, expenses", "Expenses")));
    _series->addObject(plat::Value(KivoSeries::create(self, "downloads, downloads", "Downloads")));
    setItemsSource(OmbriChartInternalChartData::demoData());
}

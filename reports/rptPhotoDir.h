#pragma once

#include "reports/ListReport.h"
#include "reports/PersonBarcode.h"

#include <memory>

// The photo directory: every person who is not removed and meets the report condition, by
// last and first name, as cards three across the page: the photo in its frame (or "No Photo
// Available"), the name, the postal address, the home phone and the e-mail address, and with
// the barcode option the person's barcode under the photo.
class rptPhotoDir final : public ListReport {
public:
    rptPhotoDir();

    bool BarcodeMode() const { return m_barcodeMode; }

protected:
    void ReportStart() override;
    void FillDetail(data::Recordset& rows) override;

private:
    void fillPhoto(const QString& storedPath);

    bool m_barcodeMode = false;
    std::unique_ptr<PersonBarcodeSymbol> m_barcode;
};

#pragma once
// The file list as the batch run sees it: rows by index, paths as UTF-8 text.
#include "conversion/BatchDriver.h"

namespace pellucor::app {

class InputFileList;

class FileListRows : public conversion::BatchRows {
public:
    explicit FileListRows(InputFileList& list) : list_(list) {}

    int rowCount() const override;
    std::string fullPath(int row) const override;
    std::string caption(int row) const override;
    bool taken(int row) const override;
    void setTaken(int row, bool taken) override;
    void setPicture(int row, conversion::RowPicture picture) override;
    void resetRow(int row) override;

private:
    InputFileList& list_;
};

} // namespace pellucor::app

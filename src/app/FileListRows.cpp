#include "app/FileListRows.h"

#include "app/InputFileList.h"

namespace pellucor::app {

int FileListRows::rowCount() const { return list_.rowCount(); }

std::string FileListRows::fullPath(int row) const { return list_.fullPath(row).toStdString(); }

std::string FileListRows::caption(int row) const { return list_.caption(row).toStdString(); }

bool FileListRows::taken(int row) const { return list_.taken(row); }

void FileListRows::setTaken(int row, bool taken) { list_.setTaken(row, taken); }

void FileListRows::setPicture(int row, conversion::RowPicture picture) { list_.setPicture(row, picture); }

void FileListRows::resetRow(int row) {
    list_.setInfoText(row, QString());
    list_.setTaken(row, false);
    list_.setPicture(row, conversion::PictureWaiting);
}

} // namespace pellucor::app

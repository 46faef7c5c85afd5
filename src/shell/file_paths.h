#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace kalvenor {

inline const QString kAllFilesFilter = QStringLiteral("すべてのファイル (*.*)|*.*");

// Grid files: the own text format has no fixed extension, so every file comes first; the
// rasters GDAL reads follow by their usual extensions.
inline const QString kGridFilesFilter =
    kAllFilesFilter + QStringLiteral(
                          "|ラスター（GeoTIFF・ESRI ASCII など）"
                          "|*.tif *.tiff *.asc *.grd *.nc *.img *.dem *.bil *.flt *.vrt");

// Line layers: a survey line's or a fence's lines.
inline const QString kLineFilesFilter =
    QStringLiteral(
        "線のファイル (*.gpkg *.shp *.geojson *.json *.csv)|*.gpkg;*.shp;*.geojson;*.json;*.csv|") +
    kAllFilesFilter;

// A path as the core's file streams expect it.
inline std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace kalvenor

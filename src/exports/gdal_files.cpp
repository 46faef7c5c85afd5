#include "exports/gdal_files.h"

#include <cpl_error.h>
#include <gdal_priv.h>

#include <algorithm>
#include <array>
#include <mutex>
#include <optional>
#include <sstream>

#include "exports/file_extension.h"
#include "model/gdal_string.h"
#include "model/message_text.h"

namespace kalvenor {
namespace {

GDALDriverManager& drivers() {
  static std::once_flag registered;
  std::call_once(registered, GDALAllRegister);
  return *GetGDALDriverManager();
}

bool listsExtension(const char* extensions, const std::string& wanted) {
  std::istringstream words(extensions ? extensions : "");
  std::string word;
  while (words >> word) {
    if (word == wanted) return true;
  }
  return false;
}

std::string lastGdalError() {
  std::string message = CPLGetLastErrorMsg();
  if (message.empty()) return translated("GDAL gave no reason");
  std::replace(message.begin(), message.end(), '\n', ' ');
  return message;
}

// Where the first node of a WKT ends: its closing bracket, brackets inside names not counted;
// npos for a text that is not WKT.
std::size_t endOfFirstNode(const std::string& wkt) {
  int depth = 0;
  bool quoted = false;
  for (std::size_t at = 0; at < wkt.size(); ++at) {
    const char c = wkt[at];
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '[') ++depth;
    if (c == ']' && --depth == 0) return at;
  }
  return std::string::npos;
}

}  // namespace

GdalMessages::GdalMessages() {
  CPLPushErrorHandler(CPLQuietErrorHandler);
  CPLErrorReset();
}

GdalMessages::~GdalMessages() { CPLPopErrorHandler(); }

std::string formatName(const GDALDriver& driver) { return driver.GetDescription(); }

ExportError gdalFailure(const std::string& path, const GDALDriver& driver,
                        const std::string& what) {
  return ExportError(path, fill(translated("GDAL's {1} driver could not write {2}: {3}"),
                                {driver.GetDescription(), what, lastGdalError()}));
}

void CloseDataset::operator()(GDALDataset* dataset) const { GDALClose(dataset); }

ExportedFiles writeWithGdal(const std::string& path, GDALDriver& driver, const std::string& what,
                            const std::function<GdalDataset(const WorkFolder& folder)>& write,
                            const std::function<void(const WorkFolder& folder)>& verify) {
  const GdalMessages messages;
  const auto writeIn = [&](WorkFolder::Place place) -> std::optional<ExportedFiles> {
    const WorkFolder folder(path, place);
    GdalDataset dataset = write(folder);
    if (!dataset) return std::nullopt;
    dataset.reset();  // closing writes what the driver still holds
    if (CPLGetLastErrorType() == CE_Failure) throw gdalFailure(path, driver, what);
    if (verify) verify(folder);
    return folder.filesBeside(path);
  };
  // Some drivers that say they write through GDAL's file system (netCDF) still cannot create a
  // file there.
  if (driver.GetMetadataItem(GDAL_DCAP_VIRTUALIO)) {
    if (std::optional<ExportedFiles> files = writeIn(WorkFolder::Place::Memory)) return *files;
    CPLErrorReset();
  }
  if (std::optional<ExportedFiles> files = writeIn(WorkFolder::Place::BesideTarget)) return *files;
  throw gdalFailure(path, driver, what);
}

GDALDriver* creatingDriver(const std::string& path, GdalData kind) {
  const std::string extension = lowerExtension(path);
  if (extension.empty()) return nullptr;
  GDALDriverManager& all = drivers();
  for (int n = 0; n < all.GetDriverCount(); ++n) {
    GDALDriver* driver = all.GetDriver(n);
    const bool ofKind =
        driver->GetMetadataItem(kind == GdalData::Raster ? GDAL_DCAP_RASTER : GDAL_DCAP_VECTOR);
    // Raster drivers without Create still make files from a finished dataset.
    const bool creates =
        driver->GetMetadataItem(GDAL_DCAP_CREATE) ||
        (kind == GdalData::Raster && driver->GetMetadataItem(GDAL_DCAP_CREATECOPY));
    if (ofKind && creates &&
        (listsExtension(driver->GetMetadataItem(GDAL_DMD_EXTENSIONS), extension.substr(1)) ||
         listsExtension(driver->GetMetadataItem(GDAL_DMD_EXTENSION), extension.substr(1)))) {
      return driver;
    }
  }
  return nullptr;
}

GDALDriver* gdalDriver(const std::string& name) { return drivers().GetDriverByName(name.c_str()); }

GdalDataset memoryRaster(const std::string& path, const NorthUpGrid& raster, GDALDataType type,
                         const std::string& wkt, const std::string& noMemory) {
  GdalDataset dataset(
      gdalDriver("MEM")->Create("", raster.columns(), raster.rows(), 1, type, nullptr));
  if (!dataset) throw ExportError(path, noMemory);
  std::array<double, 6> transform = raster.geoTransform();
  dataset->SetGeoTransform(transform.data());
  dataset->SetMetadataItem(GDALMD_AREA_OR_POINT, GDALMD_AOP_AREA);
  if (!wkt.empty()) {
    const OGRSpatialReference srs = coordinateSystem(path, wkt);
    dataset->SetSpatialRef(&srs);
  }
  return dataset;
}

OGRSpatialReference coordinateSystem(const std::string& path, const std::string& wkt) {
  const GdalMessages messages;
  OGRSpatialReference srs;
  if (srs.importFromWkt(wkt.c_str()) != OGRERR_NONE) {
    throw ExportError(
        path, fill(translated("the display surface's coordinate system cannot be read: {1}"),
                   {lastGdalError()}));
  }
  srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  return srs;
}

// A compound system's ESRI form is its projection followed by its vertical part: the code goes
// into the first node, whose key also names the part of `system` it belongs to.
std::string withEpsgCode(const std::string& esriWkt, const OGRSpatialReference& system) {
  const std::string key = esriWkt.substr(0, esriWkt.find('['));
  if (key != "PROJCS" && key != "GEOGCS") return esriWkt;
  const char* authority = system.GetAuthorityName(key.c_str());
  const char* code = system.GetAuthorityCode(key.c_str());
  const std::size_t end = endOfFirstNode(esriWkt);
  if (!authority || !code || std::string(authority) != "EPSG" || end == std::string::npos) {
    return esriWkt;
  }
  return esriWkt.substr(0, end) + ",AUTHORITY[\"EPSG\"," + code + "]" + esriWkt.substr(end);
}

std::string esriProjection(const std::string& prjPath, const std::string& wkt) {
  const GdalMessages messages;
  const OGRSpatialReference srs = coordinateSystem(prjPath, wkt);
  const char* const options[] = {"FORMAT=WKT1_ESRI", nullptr};
  char* text = nullptr;
  const OGRErr status = srs.exportToWkt(&text, options);
  const std::string esri = takeGdalString(text);
  if (status != OGRERR_NONE) {
    throw ExportError(prjPath, translated("the coordinate system has no ESRI form"));
  }
  return withEpsgCode(esri, srs);
}

}  // namespace kalvenor

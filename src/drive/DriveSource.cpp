// Opening a drive source with shared or exclusive access.
#include "drive/DriveSource.h"

#include <cerrno>

namespace twr {

DriveOpenError DriveOpenErrorFromErrno(int error) {
  switch (error) {
    case 0:
      return DriveOpenError::None;
    case EACCES:
    case EPERM:
      return DriveOpenError::NoPermission;
    case EBUSY:
      return DriveOpenError::InUse;
    case ENOENT:
    case ENXIO:
    case ENODEV:
      return DriveOpenError::Gone;
    default:
      return DriveOpenError::Failed;
  }
}

DriveOpenResult OpenDriveSource(const DriveSource& source, DriveAccess access) {
  if (source.openAccess) return source.openAccess(access);
  DriveOpenResult result;
  result.transport = source.open ? source.open() : nullptr;
  if (!result.transport) result.error = DriveOpenError::Failed;
  return result;
}

}  // namespace twr

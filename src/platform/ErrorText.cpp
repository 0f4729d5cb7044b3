#include "platform/ErrorText.h"

#include <cerrno>
#include <cstring>

namespace platform {

QString DescribeSystemError(int errnoValue) {
  switch (errnoValue) {
    case ENOENT: return QStringLiteral("No existe el fichero o el directorio");
    case EACCES:
    case EPERM: return QStringLiteral("Permiso denegado");
    case ENOSPC: return QStringLiteral("No queda espacio libre en el disco");
    case EDQUOT: return QStringLiteral("Se ha superado la cuota de disco");
    case EFBIG: return QStringLiteral("El fichero es demasiado grande para el disco");
    case EISDIR: return QStringLiteral("La ruta indicada es un directorio");
    case ENOTDIR: return QStringLiteral("Una parte de la ruta no es un directorio");
    case EEXIST: return QStringLiteral("Ya existe un fichero con ese nombre");
    case EROFS: return QStringLiteral("El sistema de ficheros es de sólo lectura");
    case EIO: return QStringLiteral("Error de entrada/salida en el dispositivo");
    case EBUSY: return QStringLiteral("El dispositivo o recurso está ocupado");
    case ENODEV:
    case ENXIO: return QStringLiteral("El dispositivo no existe o no está conectado");
    case EMFILE:
    case ENFILE: return QStringLiteral("Hay demasiados ficheros abiertos");
    case ENAMETOOLONG: return QStringLiteral("El nombre del fichero es demasiado largo");
    case ELOOP: return QStringLiteral("Demasiados enlaces simbólicos en la ruta");
    default:
      return QStringLiteral("Error del sistema %1: %2")
          .arg(errnoValue)
          .arg(QString::fromLocal8Bit(std::strerror(errnoValue)));
  }
}

}  // namespace platform

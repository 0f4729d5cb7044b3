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
    // Also what a size limit on the process's files gives.
    case EFBIG: return QStringLiteral("El fichero ha superado el tamaño máximo que se le permite");
    case EISDIR: return QStringLiteral("La ruta indicada es un directorio");
    case ENOTDIR: return QStringLiteral("Una parte de la ruta no es un directorio");
    case EEXIST: return QStringLiteral("Ya existe un fichero con ese nombre");
    case ENOTEMPTY: return QStringLiteral("El directorio no está vacío");
    case EROFS: return QStringLiteral("El sistema de ficheros es de sólo lectura");
    case EIO: return QStringLiteral("Error de entrada/salida en el dispositivo");
    case EBUSY: return QStringLiteral("El dispositivo o recurso está ocupado");
    case ENODEV:
    case ENXIO: return QStringLiteral("El dispositivo no existe o no está conectado");
    case ENOTTY: return QStringLiteral("El fichero indicado no es un puerto serie ni un terminal");
    case EMFILE:
    case ENFILE: return QStringLiteral("Hay demasiados ficheros abiertos");
    case ENAMETOOLONG: return QStringLiteral("El nombre del fichero es demasiado largo");
    case ELOOP: return QStringLiteral("Demasiados enlaces simbólicos en la ruta");
    case EINVAL: return QStringLiteral("El sistema no admite la operación con estos valores");
    case ETXTBSY: return QStringLiteral("El fichero está en uso como programa y no se puede modificar");
    case EAGAIN: return QStringLiteral("El recurso no está disponible en este momento; vuelva a intentarlo");
    case EINTR: return QStringLiteral("La operación se ha interrumpido");
    case EBADF: return QStringLiteral("El fichero no está abierto");
    case ENOMEM: return QStringLiteral("No queda memoria suficiente");
    case EPIPE: return QStringLiteral("Se ha cerrado el otro extremo de la comunicación");
    case ESPIPE: return QStringLiteral("El fichero no admite desplazamientos");
    case EXDEV: return QStringLiteral("No se puede mover el fichero a otro sistema de ficheros");
    case EMLINK: return QStringLiteral("Demasiados enlaces al fichero");
    case EOVERFLOW: return QStringLiteral("El valor es demasiado grande para el sistema");
    case ETIMEDOUT: return QStringLiteral("Se ha agotado el tiempo de espera");
    case EDEADLK: return QStringLiteral("El fichero está bloqueado por otro programa");
    case ENOLCK: return QStringLiteral("No se ha podido bloquear el fichero");
    case ESTALE: return QStringLiteral("El fichero de red ya no está disponible");
    case ENOTCONN:
    case ECONNRESET:
    case EHOSTDOWN:
    case ENOLINK: return QStringLiteral("Se ha perdido la conexión");
    case ENOMEDIUM: return QStringLiteral("No hay ningún soporte en la unidad");
    case ENOSYS:
    case EOPNOTSUPP: return QStringLiteral("El sistema no admite esta operación");
    case ECANCELED: return QStringLiteral("La operación se ha cancelado");
    // Not every system error has words of its own; the number lets it be looked up.
    default: return QStringLiteral("Error del sistema número %1").arg(errnoValue);
  }
}

QString DescribeLibraryErrorText(const QString& text) {
  for (int value = 1; value < 256; ++value) {
    if (text == QString::fromLocal8Bit(std::strerror(value))) return DescribeSystemError(value);
  }
  return QStringLiteral("Error no descrito por el sistema");
}

}  // namespace platform

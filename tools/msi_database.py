"""SQL on a Windows Installer database through msitools' libmsi (the
library wixl itself is built on), for what wixl does not write.
Usage: msi_database.py PACKAGE QUERY  (prints the rows of a SELECT, one line
each, the fields separated by tabs)."""
import ctypes
import sys

READONLY, TRANSACT = 1, 4  # LibmsiDbFlags


class MsiError(Exception):
    pass


class _GError(ctypes.Structure):
    _fields_ = [("domain", ctypes.c_uint32), ("code", ctypes.c_int), ("message", ctypes.c_char_p)]


_LOG_HANDLER = ctypes.CFUNCTYPE(None, ctypes.c_char_p, ctypes.c_int, ctypes.c_char_p, ctypes.c_void_p)


@_LOG_HANDLER
def _log(domain, level, message, data):
    # libmsi reports each value an UPDATE sets as an error it then recovers
    # from; every other message is GLib's as usual.
    if not message.startswith(b"Error fetching data for "):
        _GLIB.g_log_default_handler(domain, level, message, data)


_GLIB = None


def _libraries():
    global _GLIB
    try:
        msi = ctypes.CDLL("libmsi.so.0")
        gobject = ctypes.CDLL("libgobject-2.0.so.0")
    except OSError as e:
        raise MsiError("libmsi (a part of msitools, beside wixl) is missing: %s" % e) from None
    for name in ("libmsi_database_new", "libmsi_query_new", "libmsi_query_fetch", "libmsi_record_new"):
        getattr(msi, name).restype = ctypes.c_void_p
    for name in ("libmsi_database_commit", "libmsi_query_execute", "libmsi_record_get_field_count",
                 "libmsi_record_is_null"):
        getattr(msi, name).restype = ctypes.c_int
    msi.libmsi_record_get_string.restype = ctypes.c_void_p  # freed with g_free
    gobject.g_object_unref.argtypes = [ctypes.c_void_p]
    if _GLIB is None:
        _GLIB = ctypes.CDLL("libglib-2.0.so.0")
        _GLIB.g_log_default_handler.argtypes = [ctypes.c_char_p, ctypes.c_int, ctypes.c_char_p, ctypes.c_void_p]
        _GLIB.g_log_set_handler(None, 1 << 3, _log, None)  # G_LOG_LEVEL_CRITICAL
    return msi, gobject


def _check(ok, error, what):
    if not ok:
        message = error.contents.message.decode(errors="replace") if error else "failed"
        raise MsiError("%s: %s" % (what, message))


def run(package, queries, write=False):
    """Runs each SQL query on PACKAGE, a text or a (text, [string for each
    ?]) pair; the rows of the last one as lists of strings. With write, the
    changes are committed to the file."""
    msi, gobject = _libraries()
    glib = _GLIB
    error = ctypes.POINTER(_GError)()
    db = msi.libmsi_database_new(package.encode(), TRANSACT if write else READONLY, None, ctypes.byref(error))
    _check(db, error, package)
    rows = []
    try:
        for sql in queries:
            sql, values = (sql, []) if isinstance(sql, str) else sql
            rows = []
            query = msi.libmsi_query_new(ctypes.c_void_p(db), sql.encode(), ctypes.byref(error))
            _check(query, error, sql)
            parameters = msi.libmsi_record_new(len(values)) if values else None
            for i, value in enumerate(values, 1):
                msi.libmsi_record_set_string(ctypes.c_void_p(parameters), i, value.encode())
            try:
                _check(msi.libmsi_query_execute(ctypes.c_void_p(query), ctypes.c_void_p(parameters),
                                                ctypes.byref(error)), error, sql)
                while True:
                    record = msi.libmsi_query_fetch(ctypes.c_void_p(query), ctypes.byref(error))
                    if not record:  # the error says there are no more rows
                        glib.g_clear_error(ctypes.byref(error))
                        break
                    row = []
                    for i in range(1, msi.libmsi_record_get_field_count(ctypes.c_void_p(record)) + 1):
                        if msi.libmsi_record_is_null(ctypes.c_void_p(record), i):
                            row.append("")
                            continue
                        text = msi.libmsi_record_get_string(ctypes.c_void_p(record), i)
                        row.append(ctypes.string_at(text).decode() if text else "")
                        glib.g_free(ctypes.c_void_p(text))
                    rows.append(row)
                    gobject.g_object_unref(record)
            finally:
                gobject.g_object_unref(query)
                if parameters:
                    gobject.g_object_unref(parameters)
        if write:
            _check(msi.libmsi_database_commit(ctypes.c_void_p(db), ctypes.byref(error)), error, package)
    finally:
        gobject.g_object_unref(db)
    return rows


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip())
    try:
        for found in run(sys.argv[1], [sys.argv[2]]):
            print("\t".join(found))
    except MsiError as e:
        sys.exit("msi_database: %s" % e)

// The yardstick of bench.py: the least an extension function does for
// addNat(x, 4), two ints read through CPython's public interface and their
// sum, wrapped to 32 bits, returned.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <cstdint>

namespace {

PyObject* plus(PyObject*, PyObject* const* args, Py_ssize_t nargs) {
  if (nargs != 2) return PyErr_Format(PyExc_TypeError, "plus() takes 2 arguments (%zd given)", nargs);
  long x = PyLong_AsLong(args[0]);
  if (x == -1 && PyErr_Occurred()) return nullptr;
  long y = PyLong_AsLong(args[1]);
  if (y == -1 && PyErr_Occurred()) return nullptr;
  return PyLong_FromLong(
      static_cast<std::int32_t>(static_cast<std::uint32_t>(x) + static_cast<std::uint32_t>(y)));
}

PyMethodDef methods[] = {
    {"plus",  reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(plus)), METH_FASTCALL,
     "plus(x, y, /)\n--\n\nx + y, wrapped to 32 bits."                                                 },
    {nullptr, nullptr,                                                           0,             nullptr},
};

PyModuleDef definition = {PyModuleDef_HEAD_INIT,
                          "minimal",
                          "bench.py's yardstick.",
                          0,
                          methods,
                          nullptr,
                          nullptr,
                          nullptr,
                          nullptr};

}  // namespace

PyMODINIT_FUNC PyInit_minimal() { return PyModuleDef_Init(&definition); }

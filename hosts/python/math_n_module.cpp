// The extension module math_n._math_n: one function per predicate of the
// registry, each a C function of its own instantiated from the registry's
// row, so that a call finds its entry points without a lookup and picks one
// by which arguments are None. Its state (the Symbol type) is per module,
// so that each interpreter that imports it has its own.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <array>
#include <cstdint>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "core.h"

namespace {

using namespace math_n_host;

constexpr std::size_t predicate_count = predicates.size();

// Returns: the docstring of the predicate `name`, from the README's table.
constexpr const char* doc_of(std::string_view name) {
#define PREDICATE_DOC(predicate, doc) \
  if (name == #predicate) return doc;
#include "predicate_docs.h"
#undef PREDICATE_DOC
  return nullptr;
}

struct State {
  PyTypeObject* symbol_type;  // math_n.Symbol
  // The names of the attributes a clingo symbol is read by.
  PyObject* type_name;
  PyObject* number_name;
  PyObject* string_name;
};

State& state_of(PyObject* module) { return *static_cast<State*>(PyModule_GetState(module)); }

// Whether the last argument may be left out: only where it is the one a
// pattern computes.
constexpr bool omits_last(const Predicate& predicate) {
  return predicate.byOpen[predicate.arity - 1] != nullptr;
}

// Copies of bytes-like arguments that have no NUL after their bytes, which
// the given texts borrow until the call returns.
struct Copies {
  PyObject* each[maxArity] = {};
  ~Copies() {
    for (PyObject* copy : each) Py_XDECREF(copy);
  }
};

bool read_text(PyObject* value, const Predicate& predicate, int at, const State& state, Given& given) {
  Py_ssize_t size;
  const char* text = PyUnicode_AsUTF8AndSize(value, &size);
  if (!text) {
    // Only a lone surrogate has no UTF-8 form; the codec's message gives
    // its position, however long the text. Anything else (MemoryError)
    // goes up as it is.
    if (!PyErr_ExceptionMatches(PyExc_UnicodeEncodeError)) return false;
#if PY_VERSION_HEX >= 0x030C0000
    PyObject* error = PyErr_GetRaisedException();
#else
    PyObject *type, *error, *traceback;
    PyErr_Fetch(&type, &error, &traceback);
    PyErr_NormalizeException(&type, &error, &traceback);
    Py_XDECREF(type);
    Py_XDECREF(traceback);
#endif
    PyErr_Format(PyExc_ValueError, "%s() argument %d: %S", predicate.name, at + 1, error);
    Py_XDECREF(error);
    return false;
  }
  given = Py_IS_TYPE(value, state.symbol_type) ? Given::symbol(text, size) : Given::string(text, size);
  return true;
}

// Returns: the value of `value`, an int; beyond 64 bits, one beyond 32 bits
// too.
[[gnu::always_inline]] inline std::int64_t int_value(PyObject* value) {
#if PY_VERSION_HEX >= 0x030C0000
  if (PyUnstable_Long_IsCompact(reinterpret_cast<PyLongObject*>(value)))
    return PyUnstable_Long_CompactValue(reinterpret_cast<PyLongObject*>(value));
#endif
  int overflow;
  long long number = PyLong_AsLongLongAndOverflow(value, &overflow);  // cannot fail on an int
  return overflow ? INT64_MAX : number;
}

// Reads `value`, argument `at`, into `given`: None marks it open, an int
// (or any object with __index__ but bool) is an Integer, a str a String
// (a Symbol a Symbol), a bytes-like object a String of its bytes. False,
// with a Python error set, for any other.
bool read_argument(PyObject* value, const Predicate& predicate, int at, const State& state, Given& given,
                   Copies& copies) {
  if (value == Py_None) {
    given = Given::open();
    return true;
  }
  if (PyBool_Check(value)) {
    // A truth value where a number belongs is a mistake, not 1 or 0.
  } else if (PyLong_Check(value)) {
    given = Given::integer(int_value(value));
    return true;
  } else if (PyUnicode_Check(value)) {
    return read_text(value, predicate, at, state, given);
  } else if (PyBytes_Check(value)) {
    given = Given::string(PyBytes_AS_STRING(value), PyBytes_GET_SIZE(value));
    return true;
  } else if (PyByteArray_Check(value)) {
    // Borrowed: nothing runs Python code, which could resize it, before
    // the call returns.
    given = Given::string(PyByteArray_AS_STRING(value), PyByteArray_GET_SIZE(value));
    return true;
  } else if (PyIndex_Check(value)) {
    // Before the buffers: numpy's integers are both.
    PyObject* number = PyNumber_Index(value);
    if (!number) return false;
    given = Given::integer(int_value(number));
    Py_DECREF(number);
    return true;
  } else if (PyObject_CheckBuffer(value)) {
    Py_buffer view;
    if (PyObject_GetBuffer(value, &view, PyBUF_SIMPLE) < 0) return false;
    PyObject* copy = copies.each[at] =
        PyBytes_FromStringAndSize(static_cast<const char*>(view.buf), view.len);
    PyBuffer_Release(&view);
    if (!copy) return false;
    given = Given::string(PyBytes_AS_STRING(copy), PyBytes_GET_SIZE(copy));
    return true;
  }
  PyErr_Format(PyExc_TypeError,
               "%s() argument %d must be int, str, a bytes-like object or math_n.Symbol, not %.100s",
               predicate.name, at + 1, Py_TYPE(value)->tp_name);
  return false;
}

// Raises the OverflowError for argument `value`, an integer outside 32
// bits; one beyond 64 bits by its size, whose repr may be longer than
// Python allows.
PyObject* raise_out_of_range(PyObject* value, const Predicate& predicate, int at) {
  PyObject* number = PyNumber_Index(value);
  if (!number) return nullptr;
  int overflow;
  long long read = PyLong_AsLongLongAndOverflow(number, &overflow);
  if (!overflow) {
    PyErr_Format(PyExc_OverflowError, "%s() argument %d: %lld does not fit in 32 bits", predicate.name,
                 at + 1, read);
  } else if (PyObject* bits = PyObject_CallMethod(number, "bit_length", nullptr)) {
    PyErr_Format(PyExc_OverflowError, "%s() argument %d: an int of %S bits does not fit in 32 bits",
                 predicate.name, at + 1, bits);
    Py_DECREF(bits);
  }
  Py_DECREF(number);
  return nullptr;
}

// The Python error for an answer that is one.
[[gnu::noinline]] PyObject* raise(const Answer& answer, const Predicate& predicate, PyObject* const* args,
                                  const Given* given) {
  switch (answer.kind) {
    case Answer::NoPattern:
      try {
        return PyErr_Format(PyExc_ValueError, "%s",
                            noPatternMessage(predicate, spelledPattern(given, predicate.arity)).c_str());
      } catch (const std::bad_alloc&) {
        return PyErr_NoMemory();
      }
    case Answer::OutOfRange:
      return raise_out_of_range(args[answer.at], predicate, answer.at);
    case Answer::TextWithNul:
      return PyErr_Format(PyExc_ValueError, "%s() argument %d: embedded null character", predicate.name,
                          answer.at + 1);
    default:
      return PyErr_NoMemory();
  }
}

// Whether `answer` is a value rather than an error.
constexpr bool is_value(const Answer& answer) {
  return answer.kind == Answer::Fails || answer.kind == Answer::Holds || answer.kind == Answer::Number ||
         answer.kind == Answer::Text;
}

// The Python value of `answer`, a value, from a call whose argument `open`
// is open (`arity`: none): a check answers True or False, a compute call
// the open value or None.
[[gnu::always_inline]] inline PyObject* python_value(const Answer& answer, const Predicate& predicate,
                                                     int open) {
  switch (answer.kind) {
    case Answer::Number:
      return PyLong_FromLong(answer.number);
    case Answer::Text:
      return PyUnicode_DecodeUTF8(answer.text.get(), static_cast<Py_ssize_t>(answer.length),
                                  "surrogateescape");
    case Answer::Holds:
      Py_RETURN_TRUE;
    default:
      if (open == predicate.arity) Py_RETURN_FALSE;
      Py_RETURN_NONE;
  }
}

// Any call: each argument read by read_argument.
[[gnu::noinline]] PyObject* general_call(PyObject* module, const Predicate& predicate, PyObject* const* args,
                                         Py_ssize_t nargs) {
  const State& state = state_of(module);
  Given given[maxArity] = {};
  Copies copies;
  for (int at = 0; at < predicate.arity; ++at) {
    if (!read_argument(at < nargs ? args[at] : Py_None, predicate, at, state, given[at], copies))
      return nullptr;
  }
  int open = openArgument(given, predicate.arity);
  Answer answer = call(predicate, open, given);
  return is_value(answer) ? python_value(answer, predicate, open) : raise(answer, predicate, args, given);
}

// Reads argument `at` into `given`, unless it is other than an exact int.
[[gnu::always_inline]] inline bool read_exact_int(PyObject* value, Given& given) {
  if (!PyLong_CheckExact(value)) return false;
  given = Given::integer(int_value(value));
  return true;
}

// The common call, whose open argument is `open` (`arity`: a check) and
// whose other arguments are exact ints, with both known here, so that the
// core's loops unroll and its tests of each kind fold away; any other
// call goes the general way.
template <std::size_t index, int open, std::size_t... at>
[[gnu::always_inline]] inline PyObject* integer_call(PyObject* module, PyObject* const* args,
                                                     Py_ssize_t nargs, std::index_sequence<at...>) {
  constexpr const Predicate& predicate = predicates[index];
  Given given[maxArity];
  if (!((int(at) == open ? (given[at] = Given::open(), true) : read_exact_int(args[at], given[at])) && ...))
    return general_call(module, predicate, args, nargs);
  Answer answer = call(predicate, open, given);
  // An error is raised the general way, which reads the arguments again to
  // name the one at fault.
  return is_value(answer) ? python_value(answer, predicate, open)
                          : general_call(module, predicate, args, nargs);
}

[[gnu::noinline]] PyObject* raise_argument_count(const Predicate& predicate, Py_ssize_t nargs) {
  if (omits_last(predicate)) {
    return PyErr_Format(PyExc_TypeError, "%s() takes %d or %d arguments (%zd given)", predicate.name,
                        predicate.arity - 1, predicate.arity, nargs);
  }
  return PyErr_Format(PyExc_TypeError, "%s() takes %d argument%s (%zd given)", predicate.name,
                      predicate.arity, predicate.arity == 1 ? "" : "s", nargs);
}

// The function of predicate `index`.
template <std::size_t index>
PyObject* function(PyObject* module, PyObject* const* args, Py_ssize_t nargs) noexcept {
  constexpr const Predicate& predicate = predicates[index];
  constexpr auto arguments = std::make_index_sequence<predicates[index].arity>();
  if constexpr (omits_last(predicate)) {
    if (nargs == predicate.arity - 1)
      return integer_call<index, predicates[index].arity - 1>(module, args, nargs, arguments);
  }
  if (nargs == predicate.arity)
    return integer_call<index, predicates[index].arity>(module, args, nargs, arguments);
  return raise_argument_count(predicate, nargs);
}

// The clingo objects _clingo_call is handed, in this order.
enum ClingoObject { Number, String, True, False, NumberType, StringType, NumberFirst, clingo_objects };

// The value of clingo's `symbol`: a Number's int, a String's str, and any
// other symbol as a Symbol of its text, which no predicate accepts. From
// clingo 5.5 on, .number and .string raise for a symbol of another type:
// its type decides which is read. Clingo 5.4 answers None instead, and its
// .type costs some 800 instructions a read against 140 for .number: there,
// with NumberFirst True, .number is read first.
PyObject* value_of_symbol(PyObject* symbol, const State& state, PyObject* clingo) {
  if (PyTuple_GET_ITEM(clingo, NumberFirst) == Py_True) {
    PyObject* number = PyObject_GetAttr(symbol, state.number_name);
    if (number != Py_None) return number;
    Py_DECREF(number);
  }
  PyObject* type = PyObject_GetAttr(symbol, state.type_name);
  if (!type) return nullptr;
  PyObject* value;
  if (type == PyTuple_GET_ITEM(clingo, NumberType)) {
    value = PyObject_GetAttr(symbol, state.number_name);
  } else if (type == PyTuple_GET_ITEM(clingo, StringType)) {
    value = PyObject_GetAttr(symbol, state.string_name);
  } else {
    PyObject* text = PyObject_Str(symbol);
    value = text ? PyObject_CallOneArg(reinterpret_cast<PyObject*>(state.symbol_type), text) : nullptr;
    Py_XDECREF(text);
  }
  Py_DECREF(type);
  return value;
}

// _clingo_call(function, clingo, *symbols): `function`, a predicate's, on
// the values of clingo's `symbols`, its result as clingo's: a Number or a
// String, no value ([]) for None, and for a check the constant true or
// false. `clingo` holds the objects of ClingoObject. One function for every
// predicate, which math_n.clingo binds to each.
PyObject* clingo_call(PyObject* module, PyObject* const* args, Py_ssize_t nargs) {
  if (nargs < 2 || nargs > 2 + maxArity || !PyTuple_CheckExact(args[1]) ||
      PyTuple_GET_SIZE(args[1]) != clingo_objects) {
    PyErr_SetString(PyExc_TypeError, "_clingo_call(function, clingo, *symbols): see math_n.clingo");
    return nullptr;
  }
  const State& state = state_of(module);
  PyObject* clingo = args[1];
  PyObject* values[maxArity];
  Py_ssize_t count = 0;
  for (; count < nargs - 2; ++count) {
    values[count] = value_of_symbol(args[2 + count], state, clingo);
    if (!values[count]) break;
  }
  PyObject* result = count == nargs - 2 ? PyObject_Vectorcall(args[0], values, count, nullptr) : nullptr;
  for (Py_ssize_t at = 0; at < count; ++at) Py_DECREF(values[at]);
  if (!result) return nullptr;
  PyObject* symbol;
  if (result == Py_None) {
    symbol = PyList_New(0);
  } else if (result == Py_True || result == Py_False) {
    symbol = Py_NewRef(PyTuple_GET_ITEM(clingo, result == Py_True ? True : False));
  } else {
    symbol =
        PyObject_CallOneArg(PyTuple_GET_ITEM(clingo, PyLong_CheckExact(result) ? Number : String), result);
  }
  Py_DECREF(result);
  return symbol;
}

template <std::size_t... index>
constexpr std::array<PyMethodDef, predicate_count> method_table(std::index_sequence<index...>) {
  return {
      PyMethodDef{predicates[index].name,
                  reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(function<index>)), METH_FASTCALL,
                  doc_of(predicates[index].name)}
      ...
  };
}

// The functions must outlive their objects: static and never freed.
std::array<PyMethodDef, predicate_count> methods = method_table(std::make_index_sequence<predicate_count>{});

// Stores `value` (a new reference, or null after an error) under `name`.
bool set_item(PyObject* dict, const char* name, PyObject* value) {
  bool stored = value && PyDict_SetItemString(dict, name, value) == 0;
  Py_XDECREF(value);
  return stored;
}

PyMethodDef module_methods[] = {
    {"_clingo_call", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(clingo_call)), METH_FASTCALL,
     "_clingo_call(function, clingo, *symbols)\n--\n\nA predicate's function on clingo's symbols (for "
     "math_n.clingo)."                                                                                               },
    {nullptr,        nullptr,                                                                  0,             nullptr},
};

// The predicates' functions, under the package's name `math_n` for help().
bool add_functions(PyObject* module) {
  PyObject* name = PyUnicode_FromString("math_n");
  bool added = name;
  for (PyMethodDef& method : methods) {
    added =
        added && set_item(PyModule_GetDict(module), method.ml_name, PyCFunction_NewEx(&method, module, name));
  }
  Py_XDECREF(name);
  return added;
}

// `patterns` ({name: the patterns offered}) and `__all__`.
bool add_patterns(PyObject* module) {
  PyObject* patterns = PyDict_New();
  for (const Predicate& predicate : predicates) {
    std::vector<std::string> each = offeredPatterns(predicate);
    PyObject* offered = patterns ? PyTuple_New(static_cast<Py_ssize_t>(each.size())) : nullptr;
    for (std::size_t at = 0; offered && at < each.size(); ++at) {
      PyObject* pattern = PyUnicode_FromString(each[at].c_str());
      if (pattern)
        PyTuple_SET_ITEM(offered, at, pattern);
      else
        Py_CLEAR(offered);
    }
    if (patterns && !set_item(patterns, predicate.name, offered)) Py_CLEAR(patterns);
  }
  PyObject* names = patterns ? PySequence_List(patterns) : nullptr;
  PyObject* symbol_name = names ? PyUnicode_FromString("Symbol") : nullptr;
  bool added = symbol_name && PyList_Insert(names, 0, symbol_name) == 0 &&
               PyModule_AddObjectRef(module, "__all__", names) == 0 &&
               PyModule_AddObjectRef(module, "patterns", patterns) == 0;
  Py_XDECREF(patterns);
  Py_XDECREF(names);
  Py_XDECREF(symbol_name);
  return added;
}

// A Symbol is a text of its own kind: equal only to a Symbol of the same
// text, and hashed apart from the str.
PyObject* symbol_repr(PyObject* self) {
  PyObject* text = PyUnicode_Type.tp_repr(self);
  if (!text) return nullptr;
  PyObject* repr = PyUnicode_FromFormat("Symbol(%U)", text);
  Py_DECREF(text);
  return repr;
}

PyObject* symbol_compare(PyObject* self, PyObject* other, int op) {
  if (Py_IS_TYPE(other, Py_TYPE(self))) return PyUnicode_Type.tp_richcompare(self, other, op);
  if (op == Py_EQ) Py_RETURN_FALSE;
  if (op == Py_NE) Py_RETURN_TRUE;
  Py_RETURN_NOTIMPLEMENTED;
}

Py_hash_t symbol_hash(PyObject* self) {
  Py_hash_t hash = PyUnicode_Type.tp_hash(self);
  if (hash == -1) return -1;
  hash ^= static_cast<Py_hash_t>(0x5b3d1e0f);
  return hash == -1 ? -2 : hash;
}

PyType_Slot symbol_slots[] = {
    {Py_tp_doc,
     const_cast<char*>("Symbol(text)\n--\n\nA Symbol argument, by its text (a plain str is a String).")},
    {Py_tp_repr,        reinterpret_cast<void*>(symbol_repr)                                           },
    {Py_tp_richcompare, reinterpret_cast<void*>(symbol_compare)                                        },
    {Py_tp_hash,        reinterpret_cast<void*>(symbol_hash)                                           },
    {0,                 nullptr                                                                        },
};
PyType_Spec symbol_spec = {"math_n.Symbol", 0, 0, Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE,
                           symbol_slots};

int exec_module(PyObject* module) noexcept try {
  State& state = state_of(module);
  state.symbol_type = reinterpret_cast<PyTypeObject*>(
      PyType_FromModuleAndSpec(module, &symbol_spec, reinterpret_cast<PyObject*>(&PyUnicode_Type)));
  state.type_name = PyUnicode_InternFromString("type");
  state.number_name = PyUnicode_InternFromString("number");
  state.string_name = PyUnicode_InternFromString("string");
  bool done = state.symbol_type && state.type_name && state.number_name && state.string_name &&
              PyModule_AddObjectRef(module, "Symbol", reinterpret_cast<PyObject*>(state.symbol_type)) == 0 &&
              add_functions(module) && add_patterns(module);
  return done ? 0 : -1;
} catch (const std::bad_alloc&) {
  PyErr_NoMemory();
  return -1;
}

int traverse(PyObject* module, visitproc visit, void* arg) {
  Py_VISIT(state_of(module).symbol_type);
  return 0;
}

int clear(PyObject* module) {
  State& state = state_of(module);
  Py_CLEAR(state.symbol_type);
  Py_CLEAR(state.type_name);
  Py_CLEAR(state.number_name);
  Py_CLEAR(state.string_name);
  return 0;
}

void free_module(void* module) { clear(static_cast<PyObject*>(module)); }

PyModuleDef_Slot module_slots[] = {
    {Py_mod_exec,                  reinterpret_cast<void*>(exec_module)},
#if PY_VERSION_HEX >= 0x030C0000
  // The library keeps no state between calls.
    {Py_mod_multiple_interpreters, Py_MOD_PER_INTERPRETER_GIL_SUPPORTED},
#endif
    {0,                            nullptr                             },
};

PyModuleDef module_definition = {PyModuleDef_HEAD_INIT,
                                 "math_n._math_n",
                                 "The math_N predicates as Python functions.",
                                 sizeof(State),
                                 module_methods,
                                 module_slots,
                                 traverse,
                                 clear,
                                 free_module};

}  // namespace

PyMODINIT_FUNC PyInit__math_n() { return PyModuleDef_Init(&module_definition); }

/* The part of GLib that the Access reader's library (libmdb, as kexi carries it) uses, so that
 * the Windows build does not have to carry all of GLib: its basic types, byte order macros,
 * pointer arrays, arrays, a string-keyed hash table and a few string helpers. Each behaves as
 * GLib documents it, except that every size is checked: a request that cannot be met, or whose
 * size overflows, ends the program as GLib's allocation failure does, never a short buffer. */
#ifndef KELVARA_GLIB_H
#define KELVARA_GLIB_H

#include <inttypes.h>
#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef char gchar;
typedef unsigned char guchar;
typedef short gshort;
typedef unsigned short gushort;
typedef int gint;
typedef unsigned int guint;
typedef long glong;
typedef unsigned long gulong;
typedef int8_t gint8;
typedef uint8_t guint8;
typedef int16_t gint16;
typedef uint16_t guint16;
typedef int32_t gint32;
typedef uint32_t guint32;
typedef int64_t gint64;
typedef uint64_t guint64;
typedef float gfloat;
typedef double gdouble;
typedef size_t gsize;
typedef ptrdiff_t gssize;
typedef gint gboolean;
typedef void *gpointer;
typedef const void *gconstpointer;

#define TRUE 1
#define FALSE 0

#ifndef MIN
#define MIN(a, b) (((a) < (b)) ? (a) : (b))
#endif
#ifndef MAX
#define MAX(a, b) (((a) > (b)) ? (a) : (b))
#endif

#define G_GUINT32_FORMAT PRIu32
#define G_GINT32_FORMAT PRId32

typedef gint (*GCompareFunc)(gconstpointer a, gconstpointer b);
typedef gboolean (*GEqualFunc)(gconstpointer a, gconstpointer b);
typedef guint (*GHashFunc)(gconstpointer key);
typedef void (*GFunc)(gpointer data, gpointer user_data);
typedef void (*GHFunc)(gpointer key, gpointer value, gpointer user_data);

/* Byte order: both targets (x86-64 Linux and Windows) are little-endian. */
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "this GLib stand-in knows only little-endian machines"
#endif
#define GUINT16_SWAP_LE_BE(v) ((guint16)__builtin_bswap16((guint16)(v)))
#define GUINT32_SWAP_LE_BE(v) ((guint32)__builtin_bswap32((guint32)(v)))
#define GUINT64_SWAP_LE_BE(v) ((guint64)__builtin_bswap64((guint64)(v)))
#define GUINT16_FROM_LE(v) ((guint16)(v))
#define GUINT32_FROM_LE(v) ((guint32)(v))
#define GUINT64_FROM_LE(v) ((guint64)(v))
#define GINT16_FROM_LE(v) ((gint16)(v))
#define GINT32_FROM_LE(v) ((gint32)(v))
#define GINT32_TO_LE(v) ((gint32)(v))
#define GUINT16_TO_LE(v) ((guint16)(v))
#define GUINT32_TO_LE(v) ((guint32)(v))
#define GINT32_FROM_BE(v) ((gint32)GUINT32_SWAP_LE_BE(v))
#define GINT32_TO_BE(v) ((gint32)GUINT32_SWAP_LE_BE(v))
#define GUINT32_FROM_BE(v) GUINT32_SWAP_LE_BE(v)
#define GUINT32_TO_BE(v) GUINT32_SWAP_LE_BE(v)

/* Memory: never returns NULL for a size above zero; g_malloc(0) returns NULL as in GLib. */
gpointer g_malloc(gsize n_bytes);
gpointer g_malloc0(gsize n_bytes);
gpointer g_realloc(gpointer mem, gsize n_bytes);
void g_free(gpointer mem);
gpointer g_memdup(gconstpointer mem, guint byte_size);

/* Strings */
gchar *g_strdup(const gchar *str);
gchar *g_strdup_printf(const gchar *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
gchar *g_strdup_vprintf(const gchar *format, va_list args);
gchar *g_strconcat(const gchar *string1, ...);
gchar **g_strsplit(const gchar *string, const gchar *delimiter, gint max_tokens);
void g_strfreev(gchar **str_array);
gint g_ascii_strcasecmp(const gchar *s1, const gchar *s2);

/* Pointer arrays */
typedef struct
{
    gpointer *pdata;
    guint len;
} GPtrArray;

#define g_ptr_array_index(array, index) ((array)->pdata[index])
GPtrArray *g_ptr_array_new(void);
void g_ptr_array_add(GPtrArray *array, gpointer data);
gpointer *g_ptr_array_free(GPtrArray *array, gboolean free_segment);
void g_ptr_array_sort(GPtrArray *array, GCompareFunc compare_func);
void g_ptr_array_foreach(GPtrArray *array, GFunc func, gpointer user_data);

/* Arrays of fixed-size elements */
typedef struct
{
    gchar *data;
    guint len;
} GArray;

#define g_array_index(array, type, index) (((type *)(void *)(array)->data)[index])
#define g_array_append_val(array, value) g_array_append_vals(array, &(value), 1)
GArray *g_array_new(gboolean zero_terminated, gboolean clear, guint element_size);
GArray *g_array_append_vals(GArray *array, gconstpointer data, guint len);
gchar *g_array_free(GArray *array, gboolean free_segment);

/* Hash tables; the table owns neither its keys nor its values, as with g_hash_table_new. */
typedef struct _GHashTable GHashTable;

GHashTable *g_hash_table_new(GHashFunc hash_func, GEqualFunc key_equal_func);
gboolean g_hash_table_insert(GHashTable *hash_table, gpointer key, gpointer value);
gpointer g_hash_table_lookup(GHashTable *hash_table, gconstpointer key);
void g_hash_table_foreach(GHashTable *hash_table, GHFunc func, gpointer user_data);
void g_hash_table_destroy(GHashTable *hash_table);
guint g_hash_table_size(GHashTable *hash_table);
guint g_str_hash(gconstpointer v);
gboolean g_str_equal(gconstpointer v1, gconstpointer v2);

#ifdef __cplusplus
}
#endif

#endif

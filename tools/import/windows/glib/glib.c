/* The GLib stand-in's functions. Every size is computed with an overflow check before it is
 * allocated; a size that overflows, or memory the system refuses, ends the program with a
 * message (GLib aborts there too): a reader of damaged files must never go on with a buffer
 * shorter than it thinks. */
#include "glib.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void fail(const char *what, gsize size)
{
    fprintf(stderr, "glib: %s of %zu bytes failed\n", what, size);
    abort();
}

/* a * b, or the end of the program when it does not fit in a size. */
static gsize checked_mul(gsize a, gsize b)
{
    gsize product;
    if (__builtin_mul_overflow(a, b, &product))
        fail("size computation", (gsize)-1);
    return product;
}

static gsize checked_add(gsize a, gsize b)
{
    gsize sum;
    if (__builtin_add_overflow(a, b, &sum))
        fail("size computation", (gsize)-1);
    return sum;
}

gpointer g_malloc(gsize n_bytes)
{
    if (n_bytes == 0)
        return NULL;
    gpointer mem = malloc(n_bytes);
    if (!mem)
        fail("allocation", n_bytes);
    return mem;
}

gpointer g_malloc0(gsize n_bytes)
{
    if (n_bytes == 0)
        return NULL;
    gpointer mem = calloc(1, n_bytes);
    if (!mem)
        fail("allocation", n_bytes);
    return mem;
}

gpointer g_realloc(gpointer mem, gsize n_bytes)
{
    if (n_bytes == 0) {
        free(mem);
        return NULL;
    }
    gpointer grown = realloc(mem, n_bytes);
    if (!grown)
        fail("reallocation", n_bytes);
    return grown;
}

void g_free(gpointer mem)
{
    free(mem);
}

gpointer g_memdup(gconstpointer mem, guint byte_size)
{
    if (!mem || byte_size == 0)
        return NULL;
    gpointer copy = g_malloc(byte_size);
    memcpy(copy, mem, byte_size);
    return copy;
}

gchar *g_strdup(const gchar *str)
{
    if (!str)
        return NULL;
    const gsize size = checked_add(strlen(str), 1);
    gchar *copy = g_malloc(size);
    memcpy(copy, str, size);
    return copy;
}

gchar *g_strdup_vprintf(const gchar *format, va_list args)
{
    va_list measure;
    va_copy(measure, args);
    const int length = vsnprintf(NULL, 0, format, measure);
    va_end(measure);
    if (length < 0)
        fail("formatting", 0);
    gchar *text = g_malloc((gsize)length + 1);
    vsnprintf(text, (gsize)length + 1, format, args);
    return text;
}

gchar *g_strdup_printf(const gchar *format, ...)
{
    va_list args;
    va_start(args, format);
    gchar *text = g_strdup_vprintf(format, args);
    va_end(args);
    return text;
}

gchar *g_strconcat(const gchar *string1, ...)
{
    if (!string1)
        return NULL;
    gsize size = checked_add(strlen(string1), 1);
    va_list args;
    va_start(args, string1);
    for (const gchar *s = va_arg(args, const gchar *); s; s = va_arg(args, const gchar *))
        size = checked_add(size, strlen(s));
    va_end(args);

    gchar *text = g_malloc(size);
    gsize at = strlen(string1);
    memcpy(text, string1, at);
    va_start(args, string1);
    for (const gchar *s = va_arg(args, const gchar *); s; s = va_arg(args, const gchar *)) {
        const gsize length = strlen(s);
        memcpy(text + at, s, length);
        at += length;
    }
    va_end(args);
    text[at] = '\0';
    return text;
}

static gchar *copy_span(const gchar *start, gsize length)
{
    gchar *copy = g_malloc(checked_add(length, 1));
    memcpy(copy, start, length);
    copy[length] = '\0';
    return copy;
}

/* Splits at each delimiter, into at most max_tokens pieces (no limit when below 1); the last
 * piece holds the rest of the string. An empty string gives an empty list. */
gchar **g_strsplit(const gchar *string, const gchar *delimiter, gint max_tokens)
{
    if (!string || !delimiter || !*delimiter)
        abort();
    const gsize delimiter_length = strlen(delimiter);
    const gsize limit = max_tokens < 1 ? (gsize)-1 : (gsize)max_tokens;
    gsize count = 0;
    gchar **pieces = g_malloc(sizeof(gchar *));
    if (*string) {
        const gchar *rest = string;
        for (const gchar *at; count + 1 < limit && (at = strstr(rest, delimiter));) {
            pieces = g_realloc(pieces, checked_mul(count + 2, sizeof(gchar *)));
            pieces[count++] = copy_span(rest, (gsize)(at - rest));
            rest = at + delimiter_length;
        }
        pieces = g_realloc(pieces, checked_mul(count + 2, sizeof(gchar *)));
        pieces[count++] = g_strdup(rest);
    }
    pieces[count] = NULL;
    return pieces;
}

void g_strfreev(gchar **str_array)
{
    if (!str_array)
        return;
    for (gchar **s = str_array; *s; ++s)
        free(*s);
    free(str_array);
}

/* Compares as strcasecmp does in the C locale: only A to Z fold, whatever the locale. */
static int ascii_lower(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

gint g_ascii_strcasecmp(const gchar *s1, const gchar *s2)
{
    for (;; ++s1, ++s2) {
        const int a = ascii_lower((unsigned char)*s1);
        const int b = ascii_lower((unsigned char)*s2);
        if (a != b || a == 0)
            return a - b;
    }
}

/* Growth doubles the room, at least to 16 elements, checked against overflow. */
static gsize grown_room(gsize room, gsize needed)
{
    if (needed <= room)
        return room;
    gsize next = room < 16 ? 16 : room;
    while (next < needed)
        next = checked_mul(next, 2);
    return next;
}

struct PtrArrayFull
{
    GPtrArray array;
    gsize room;
};

GPtrArray *g_ptr_array_new(void)
{
    struct PtrArrayFull *full = g_malloc0(sizeof *full);
    return &full->array;
}

void g_ptr_array_add(GPtrArray *array, gpointer data)
{
    struct PtrArrayFull *full = (struct PtrArrayFull *)array;
    if (array->len == (guint)-1)
        fail("pointer array growth", (gsize)-1);
    const gsize needed = (gsize)array->len + 1;
    if (needed > full->room) {
        full->room = grown_room(full->room, needed);
        array->pdata = g_realloc(array->pdata, checked_mul(full->room, sizeof(gpointer)));
    }
    array->pdata[array->len++] = data;
}

gpointer *g_ptr_array_free(GPtrArray *array, gboolean free_segment)
{
    if (!array)
        return NULL;
    gpointer *segment = array->pdata;
    if (free_segment) {
        free(segment);
        segment = NULL;
    }
    free(array);
    return segment;
}

/* A stable merge sort, as GLib's: columns that compare equal keep the file's order. The
 * comparison receives pointers to the array's elements, as in GLib. */
static void merge_sort(gpointer *items, gpointer *scratch, gsize count, GCompareFunc compare)
{
    if (count < 2)
        return;
    const gsize half = count / 2;
    merge_sort(items, scratch, half, compare);
    merge_sort(items + half, scratch, count - half, compare);
    gsize left = 0, right = half, out = 0;
    while (left < half && right < count)
        scratch[out++] = compare(&items[right], &items[left]) < 0 ? items[right++] : items[left++];
    while (left < half)
        scratch[out++] = items[left++];
    while (right < count)
        scratch[out++] = items[right++];
    memcpy(items, scratch, count * sizeof(gpointer));
}

void g_ptr_array_sort(GPtrArray *array, GCompareFunc compare_func)
{
    if (array->len < 2)
        return;
    gpointer *scratch = g_malloc(checked_mul(array->len, sizeof(gpointer)));
    merge_sort(array->pdata, scratch, array->len, compare_func);
    free(scratch);
}

void g_ptr_array_foreach(GPtrArray *array, GFunc func, gpointer user_data)
{
    for (guint i = 0; i < array->len; ++i)
        func(array->pdata[i], user_data);
}

struct ArrayFull
{
    GArray array;
    gsize room; /* in elements, not counting the terminating zero element */
    guint element_size;
    gboolean zero_terminated;
    gboolean clear;
};

static void array_reserve(struct ArrayFull *full, gsize needed)
{
    if (needed <= full->room && full->array.data)
        return;
    const gsize old = full->array.data ? full->room + (full->zero_terminated ? 1 : 0) : 0;
    full->room = grown_room(full->room, needed);
    const gsize elements = checked_add(full->room, full->zero_terminated ? 1 : 0);
    const gsize bytes = checked_mul(elements, full->element_size);
    full->array.data = g_realloc(full->array.data, bytes);
    if (full->clear || full->zero_terminated)
        memset(full->array.data + old * full->element_size, 0, bytes - old * full->element_size);
}

GArray *g_array_new(gboolean zero_terminated, gboolean clear, guint element_size)
{
    if (element_size == 0)
        abort();
    struct ArrayFull *full = g_malloc0(sizeof *full);
    full->element_size = element_size;
    full->zero_terminated = zero_terminated;
    full->clear = clear;
    array_reserve(full, 0);
    return &full->array;
}

GArray *g_array_append_vals(GArray *array, gconstpointer data, guint len)
{
    struct ArrayFull *full = (struct ArrayFull *)array;
    const gsize needed = checked_add(array->len, len);
    if (needed > (guint)-1)
        fail("array growth", needed);
    array_reserve(full, needed);
    memcpy(array->data + (gsize)array->len * full->element_size, data,
           (gsize)len * full->element_size);
    array->len = (guint)needed;
    if (full->zero_terminated)
        memset(array->data + needed * full->element_size, 0, full->element_size);
    return array;
}

gchar *g_array_free(GArray *array, gboolean free_segment)
{
    if (!array)
        return NULL;
    gchar *segment = array->data;
    if (free_segment) {
        free(segment);
        segment = NULL;
    }
    free(array);
    return segment;
}

/* A chained hash table whose buckets double when it holds more entries than buckets. */
typedef struct Entry
{
    gpointer key;
    gpointer value;
    guint hash;
    struct Entry *next;
} Entry;

struct _GHashTable
{
    GHashFunc hash;
    GEqualFunc equal;
    Entry **buckets;
    gsize bucket_count; /* a power of two */
    gsize size;
};

GHashTable *g_hash_table_new(GHashFunc hash_func, GEqualFunc key_equal_func)
{
    GHashTable *table = g_malloc0(sizeof *table);
    table->hash = hash_func;
    table->equal = key_equal_func;
    table->bucket_count = 16;
    table->buckets = g_malloc0(table->bucket_count * sizeof(Entry *));
    return table;
}

static Entry **slot_of(GHashTable *table, gconstpointer key, guint hash)
{
    Entry **slot = &table->buckets[hash & (table->bucket_count - 1)];
    while (*slot && !((*slot)->hash == hash && table->equal((*slot)->key, key)))
        slot = &(*slot)->next;
    return slot;
}

static void rehash(GHashTable *table)
{
    const gsize count = checked_mul(table->bucket_count, 2);
    Entry **buckets = g_malloc0(checked_mul(count, sizeof(Entry *)));
    for (gsize i = 0; i < table->bucket_count; ++i) {
        for (Entry *entry = table->buckets[i], *next; entry; entry = next) {
            next = entry->next;
            Entry **slot = &buckets[entry->hash & (count - 1)];
            entry->next = *slot;
            *slot = entry;
        }
    }
    free(table->buckets);
    table->buckets = buckets;
    table->bucket_count = count;
}

/* As in GLib, a key already present keeps its first copy and takes the new value; the caller
 * owns both keys and both values. */
gboolean g_hash_table_insert(GHashTable *hash_table, gpointer key, gpointer value)
{
    const guint hash = hash_table->hash(key);
    Entry **slot = slot_of(hash_table, key, hash);
    if (*slot) {
        (*slot)->value = value;
        return FALSE;
    }
    Entry *entry = g_malloc(sizeof *entry);
    *entry = (Entry){key, value, hash, NULL};
    *slot = entry;
    if (++hash_table->size > hash_table->bucket_count)
        rehash(hash_table);
    return TRUE;
}

gpointer g_hash_table_lookup(GHashTable *hash_table, gconstpointer key)
{
    Entry *entry = *slot_of(hash_table, key, hash_table->hash(key));
    return entry ? entry->value : NULL;
}

void g_hash_table_foreach(GHashTable *hash_table, GHFunc func, gpointer user_data)
{
    for (gsize i = 0; i < hash_table->bucket_count; ++i)
        for (Entry *entry = hash_table->buckets[i]; entry; entry = entry->next)
            func(entry->key, entry->value, user_data);
}

void g_hash_table_destroy(GHashTable *hash_table)
{
    if (!hash_table)
        return;
    for (gsize i = 0; i < hash_table->bucket_count; ++i) {
        for (Entry *entry = hash_table->buckets[i], *next; entry; entry = next) {
            next = entry->next;
            free(entry);
        }
    }
    free(hash_table->buckets);
    free(hash_table);
}

guint g_hash_table_size(GHashTable *hash_table)
{
    return (guint)hash_table->size;
}

/* GLib's string hash (djb2), so that the order of a walk is as unremarkable as there. */
guint g_str_hash(gconstpointer v)
{
    guint32 hash = 5381;
    for (const unsigned char *p = v; *p; ++p)
        hash = (hash << 5) + hash + *p;
    return hash;
}

gboolean g_str_equal(gconstpointer v1, gconstpointer v2)
{
    return strcmp(v1, v2) == 0;
}
